#pragma once

#include <QByteArrayView>
#include <QLocale>
#include <QString>

namespace korvel {

// Text that Korvel did not necessarily write itself (a playlist file, a settings row edited
// or carried over from another system): UTF-8 when the bytes are valid UTF-8 (a leading
// byte-order mark dropped); else the 8-bit encoding of `locale` (the encoding the C library's
// locale names when it is not UTF-8, else the Windows code page of the locale's language, in
// which the older files were written); else Latin-1, so that no byte is lost.
class LegacyText {
public:
    static bool isUtf8(QByteArrayView bytes);
    // Whether the bytes are binary data rather than text of a list: they hold a control
    // character other than tab, CR, LF and the old end-of-text mark Ctrl-Z (a NUL, say).
    static bool isBinary(QByteArrayView bytes);
    static QString decode(QByteArrayView bytes, const QLocale& locale = QLocale());
};

} // namespace korvel
