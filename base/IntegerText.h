#pragma once

#include <QStringView>

#include <cstdint>
#include <optional>

namespace korvel {

// Integers as skin rows and INI keys write them: optional leading blanks, an optional sign,
// then decimal digits, or hexadecimal digits after "$" or "0x". Hexadecimal takes up to 32
// bits after any leading zeros and wraps into the signed range ("$FFFFFFFF" is -1); decimal
// must fit 32 bits.
// Anything else, trailing blanks included, is not a number.
class IntegerText {
public:
    static std::optional<std::int32_t> parse(QStringView text);

    // As parse, but a text that is not a number raises "'%s' は整数ではありません".
    static std::int32_t toInt(QStringView text);
};

} // namespace korvel
