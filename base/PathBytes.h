#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QUrl>

namespace korvel {

// File names on this system are bytes, mostly but not always UTF-8 ("caf\xe9.avi" written by
// an old Latin-1 program). Qt's own conversions turn every byte that is not UTF-8 into U+FFFD,
// and such a name can then never be opened again. PathBytes keeps every byte instead:
// a valid UTF-8 sequence becomes its character, any other byte b becomes the lone surrogate
// U+DC00 + b, which valid UTF-8 never yields. toBytes() gives back exactly the bytes given,
// so a name taken in here reaches the file system and the media engine unchanged.
class PathBytes {
public:
    static QString toText(QByteArrayView bytes) {
        QString text;
        text.reserve(bytes.size());
        for (qsizetype at = 0; at < bytes.size();) {
            const qsizetype length = sequenceLength(bytes, at);
            if (length == 0) {
                text += QChar(char16_t(EscapeBase + quint8(bytes[at])));
                ++at;
                continue;
            }
            // Decoded alone, U+FEFF would be taken for a byte-order mark and dropped.
            const QByteArrayView sequence = bytes.sliced(at, length);
            text +=
                sequence == "\xEF\xBB\xBF" ? QString(QChar(0xFEFF)) : QString::fromUtf8(sequence);
            at += length;
        }
        return text;
    }

    // Characters as UTF-8, escaped bytes as themselves. A lone surrogate that no byte stands
    // for (it came from elsewhere) is written as QString::toUtf8() writes it.
    static QByteArray toBytes(QStringView text) {
        QByteArray bytes;
        bytes.reserve(text.size());
        for (qsizetype at = 0; at < text.size(); ++at) {
            const char16_t unit = text[at].unicode();
            if (unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF) {
                bytes += char(unit - EscapeBase);
            } else if (QChar::isHighSurrogate(unit) && at + 1 < text.size() &&
                       text[at + 1].isLowSurrogate()) {
                bytes += text.sliced(at, 2).toUtf8();
                ++at;
            } else {
                bytes += text.sliced(at, 1).toUtf8();
            }
        }
        return bytes;
    }

    // The path of a local file URL (a dropped file) with its percent escapes undone byte by
    // byte, where QUrl::toLocalFile() would turn bytes that are not UTF-8 into U+FFFD.
    static QString fromFileUrl(const QUrl& url) {
        return toText(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toUtf8()));
    }

    // A dropped URL as a location: a local file by its path, anything else as written.
    static QString locationOf(const QUrl& url) {
        return url.isLocalFile() ? fromFileUrl(url) : url.toString();
    }

    // For messages: every byte that was not UTF-8 shown as U+FFFD.
    static QString displayed(QStringView text) { return QString::fromUtf8(toBytes(text)); }

private:
    static constexpr char16_t EscapeBase = 0xDC00;

    // The length of the valid UTF-8 sequence at `at` (shortest form, no surrogates, at most
    // U+10FFFF), or 0 when the byte there starts none.
    static qsizetype sequenceLength(QByteArrayView bytes, qsizetype at) {
        const quint8 lead = quint8(bytes[at]);
        qsizetype length = 0;
        quint8 low = 0x80, high = 0xBF; // the range of the second byte
        if (lead < 0x80) return 1;
        if (lead >= 0xC2 && lead <= 0xDF)
            length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF)
            length = 3;
        else if (lead >= 0xF0 && lead <= 0xF4)
            length = 4;
        else
            return 0;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
        if (at + length > bytes.size()) return 0;
        for (qsizetype n = 1; n < length; ++n) {
            const quint8 next = quint8(bytes[at + n]);
            if (n == 1 ? (next < low || next > high) : (next < 0x80 || next > 0xBF)) return 0;
        }
        return length;
    }
};

} // namespace korvel
