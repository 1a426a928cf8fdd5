#include "playlist/RowDataCodec.h"

#include "base/PathBytes.h"

#include <QByteArray>
#include <QStringList>

#include <cstddef>

namespace korvel {

namespace {

constexpr QChar Separator = u'|';

bool isControl(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; }

// A byte of a file name that is not UTF-8, as PathBytes keeps it: a lone U+DC80..U+DCFF, not
// the second half of a pair (which may fall in that range too). The UTF-8 file cannot hold it
// as a character, so it is written as its byte, percent-encoded.
bool isNameByte(QStringView text, qsizetype at) {
    const char16_t unit = text[at].unicode();
    return unit >= 0xDC80 && unit <= 0xDCFF && !(at > 0 && text[at - 1].isHighSurrogate());
}

// The INI reader drops these around a value (QByteArray::trimmed).
bool isDroppedBlank(QChar c) { return c == u' ' || (c.unicode() >= 0x09 && c.unicode() <= 0x0D); }

QString percent(QChar c) {
    return QStringLiteral("%%1").arg(static_cast<uint>(c.unicode()), 2, 16, QChar(u'0')).toUpper();
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The value's fields as the plain reader sees them: split at every "|", at most seven.
SettingsRow splitFields(QStringView value) {
    SettingsRow row;
    std::size_t column = 0;
    for (const QChar c : value) {
        if (c == Separator) {
            if (++column == row.size()) break;
        } else {
            row[column] += c;
        }
    }
    return row;
}

} // namespace

QString RowDataCodec::encode(const SettingsRow& row) {
    const QString plain = QStringList(row.begin(), row.end()).join(Separator);
    if (!needsMarkedForm(row, plain)) return plain;
    QStringList cells;
    for (const QString& cell : row) cells.append(encodeCell(cell));
    QString marked = Marker + cells.join(Separator);
    if (marked.endsWith(u' ')) marked.replace(marked.size() - 1, 1, percent(u' '));
    return marked;
}

bool RowDataCodec::needsMarkedForm(const SettingsRow& row, const QString& plain) {
    for (const QString& cell : row) {
        for (qsizetype i = 0; i < cell.size(); ++i) {
            if (cell[i] == Separator || isControl(cell[i]) || isNameByte(cell, i)) return true;
        }
    }
    if (plain.startsWith(Marker)) return true;
    return !plain.isEmpty() && (isDroppedBlank(plain.front()) || isDroppedBlank(plain.back()));
}

QString RowDataCodec::encodeCell(const QString& cell) {
    QString out;
    out.reserve(cell.size());
    for (qsizetype i = 0; i < cell.size(); ++i) {
        const QChar c = cell[i];
        if (c == u'%' || c == Separator || isControl(c)) {
            out += percent(c);
        } else if (isNameByte(cell, i)) {
            out += percent(QChar(c.unicode() - 0xDC00));
        } else {
            out += c;
        }
    }
    return out;
}

SettingsRow RowDataCodec::decode(QStringView value) {
    if (!value.startsWith(Marker)) return splitFields(value);
    SettingsRow row = splitFields(value.mid(Marker.size()));
    for (QString& cell : row) cell = decodeCell(cell);
    return row;
}

QString RowDataCodec::decodeCell(QStringView cell) {
    const QByteArray bytes = cell.toUtf8();
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '%' && i + 2 < bytes.size() && hexDigit(bytes[i + 1]) >= 0 &&
            hexDigit(bytes[i + 2]) >= 0) {
            out += static_cast<char>(hexDigit(bytes[i + 1]) * 16 + hexDigit(bytes[i + 2]));
            i += 2;
        } else {
            out += bytes[i];
        }
    }
    // Bytes that are not UTF-8 were a file name's own: they are kept as PathBytes keeps them.
    return PathBytes::toText(out);
}

} // namespace korvel
