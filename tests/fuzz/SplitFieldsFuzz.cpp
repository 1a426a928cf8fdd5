// The skin row splitter over any row, and over rows built from known fields: every field a
// writer quotes comes back whole, and no row yields more fields than it has characters.

#include "FuzzInput.h"

#include "base/SplitFields.h"

#include <QStringList>

using korvel::SplitFields;
using korvel::fuzz::check;

namespace {

// Delimiters a skin row can use: any character but the quote, blanks and controls.
QChar delimiterFrom(std::uint8_t byte) {
    const char16_t c = char16_t(byte % 94 + 33);
    return c == u'"' ? QChar(u',') : QChar(c);
}

// Fields as a writer quotes them: each in quotes, quotes doubled, NUL (which ends a row)
// left out.
QString quotedRow(const QStringList& fields, QChar delimiter) {
    QStringList quoted;
    for (QString field : fields) {
        field.remove(QChar(0));
        quoted.append(u'"' + field.replace(u'"', QStringLiteral("\"\"")) + u'"');
    }
    return quoted.join(delimiter);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvel::fuzz::FuzzInput input(data, size);
    const QChar delimiter = delimiterFrom(input.byte());
    QStringList fields;
    for (int n = input.byte() % 8; n > 0; --n) fields.append(QString::fromUtf8(input.bytes(32)));
    const QString text = QString::fromUtf8(input.rest());

    const QStringList split = SplitFields(text, delimiter);
    check(split.size() <= text.size(), "each field takes at least one character");

    QStringList expected;
    for (const QString& field : fields) expected.append(QString(field).remove(QChar(0)));
    check(SplitFields(quotedRow(fields, delimiter), delimiter) == expected,
          "quoted fields come back whole");
    return 0;
}
