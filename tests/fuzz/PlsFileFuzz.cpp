// PLS lists over any bytes: a list either is refused with a reason or gives its entries,
// each a trimmed value of one line; a list made of entries reads back as exactly those, in
// the order of their numbers, with its count found right or told.

#include "FuzzInput.h"

#include "base/KorvelError.h"
#include "playlist/PlsFile.h"

#include <QLocale>

#include <algorithm>

using korvel::KorvelError;
using korvel::PlsFile;
using korvel::fuzz::check;

namespace {

// Bytes as a value the list can hold: no line breaks, no blanks around it.
QByteArray value(QByteArrayView bytes) {
    QByteArray text = bytes.toByteArray();
    text.replace('\r', '_').replace('\n', '_').replace('\x1a', '_');
    for (char& c : text) {
        if (quint8(c) < 32) c = '_';
    }
    return text.trimmed();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvel::fuzz::FuzzInput input(data, size);
    const std::uint8_t shape = input.byte();
    if (shape & 1) {
        // Any bytes.
        try {
            const PlsFile::Read read = PlsFile::ReadPlsBytes(input.rest());
            for (const QString& location : read.locations) {
                check(!location.isEmpty() && location == location.trimmed(), "trimmed values");
                check(std::none_of(location.begin(), location.end(),
                                   [](QChar c) { return c.unicode() < 32 && c != u'\t'; }),
                      "one line, and no binary bytes");
            }
        } catch (const KorvelError& error) {
            check(!error.text().isEmpty(), "a refusal says why");
        }
        return 0;
    }
    // A list made here: entries numbered downward, so the file's order is not theirs.
    QList<QByteArray> values;
    while (!input.atEnd() && values.size() < 40) {
        const QByteArray next = value(input.bytes(60));
        const QString text = QString::fromUtf8(next);
        if (!next.isEmpty() && text.toUtf8() == next && text.trimmed() == text) values.append(next);
    }
    const qsizetype declared = shape & 2 ? values.size() : values.size() + 1;
    QByteArray list = shape & 4 ? "[PlayList]\r\n" : "[playlist]\n";
    for (qsizetype i = values.size(); i > 0; --i) {
        list += "File" + QByteArray::number(i) + "=" + values[i - 1] + "\n";
        list += "Title" + QByteArray::number(i) + "=t\n";
    }
    list += "NumberOfEntries=" + QByteArray::number(declared) + "\n";
    const PlsFile::Read read = PlsFile::ReadPlsBytes(list);
    QStringList expected;
    for (const QByteArray& text : values) expected.append(QString::fromUtf8(text));
    check(read.locations == expected, "the entries in the order of their numbers");
    check(read.wrongCount.isEmpty() == (declared == values.size()), "a wrong count is told");
    return 0;
}
