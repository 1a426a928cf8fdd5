#pragma once

#include <QByteArrayView>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace korvel {

// PLS lists: an INI text with the section "[playlist]" holding "File<N>=<location>",
// "Title<N>=", "Length<N>=", "NumberOfEntries=" and "Version=". Keys are matched without
// regard to letter case; the entries are taken in the order of their numbers, whatever the
// order of the lines.
class PlsFile {
public:
    struct Read {
        QStringList locations;
        // The list's NumberOfEntries when that is not the number of its entries (the
        // entries are those it holds); empty when it is, or when the list gives none.
        QString wrongCount;
    };

    // The entries of a list's bytes: a location as its bytes when it is UTF-8 or a path of
    // this system, else in the locale's code page (as .ram lists are read). Raises a KorvelError
    // with the reason when the bytes are no PLS list (binary data, or no "[playlist]" section
    // first).
    static Read ReadPlsBytes(QByteArrayView bytes, const QLocale& locale = QLocale());
};

} // namespace korvel
