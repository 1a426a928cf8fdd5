#pragma once

#include <QChar>
#include <QStringList>
#include <QStringView>

namespace korvel {

// Splits one skin row into its fields. Blanks and control characters before a field are
// skipped; a field runs to the next delimiter or control character, so blanks inside it and
// at its end belong to it. A field starting with a double quote runs to the next lone quote
// ("" stands for one quote). Two delimiters in a row give an empty field between them; a
// delimiter at the end adds none. Characters are whole characters, so a byte inside a
// multi-byte character is never taken for a delimiter or a quote.
QStringList SplitFields(QStringView text, QChar delimiter);

} // namespace korvel
