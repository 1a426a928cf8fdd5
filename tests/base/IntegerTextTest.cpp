#include "base/IntegerText.h"

#include "base/KorvelError.h"

#include <gtest/gtest.h>

#include <optional>

using korvel::IntegerText;

// The integer forms of skin rows: decimal with sign, "$" and "0x" hexadecimal wrapping into
// 32 bits (leading zeros however many), leading blanks only. Trailing blanks and overflow are
// not numbers.
TEST(IntegerText, ParsesTheSkinsIntegerForms) {
    const struct {
        const char* text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"0", 0},
        {"95", 95},
        {"-12", -12},
        {"+7", 7},
        {"  42", 42},
        {"$00C0C0C0", 0xC0C0C0},
        {"0x1F", 31},
        {"0X1f", 31},
        {"$FFFFFFFF", -1},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"$100000000", std::nullopt},
        {"$000000001", 1},
        {"0x000000001", 1},
        {"-0x00000000010", -16},
        {"$0000000000", 0},
        {"$0000000FFFFFFFF", -1},
        {"0x00000000100000000", std::nullopt},
        {"12 ", std::nullopt},
        {"", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"-", std::nullopt},
        {"1e3", std::nullopt},
        {"１２", std::nullopt},
        {"12a", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IntegerText::parse(QString::fromUtf8(c.text)), c.value) << c.text;
    }
}

// A field that is not a number stops a load with the text the user sees.
TEST(IntegerText, ToIntNamesTheBadText) {
    try {
        IntegerText::toInt(u"12 ");
        FAIL() << "no error";
    } catch (const korvel::KorvelError& error) {
        EXPECT_EQ(error.text(), QString::fromUtf8("'12 ' は整数ではありません"));
    }
}
