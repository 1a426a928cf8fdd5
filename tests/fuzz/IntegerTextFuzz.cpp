// Integer fields against a reading of the rule done another way (std::from_chars), and the
// numbers the program writes read back.

#include "FuzzInput.h"

#include "base/IntegerText.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>

using korvel::IntegerText;
using korvel::fuzz::check;

namespace {

bool allOf(const std::string& text, bool hex) {
    for (const char c : text) {
        const bool digit = c >= '0' && c <= '9';
        const bool letter = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!digit && !(hex && letter)) return false;
    }
    return !text.empty();
}

// The rule of IntegerText, from its description.
std::optional<std::int32_t> expected(const QString& text) {
    if (text.contains(QChar(0)) || text.toLatin1() != text.toUtf8()) return std::nullopt;
    std::string s = text.toStdString();
    s.erase(0, s.find_first_not_of(" \t") == std::string::npos ? s.size()
                                                               : s.find_first_not_of(" \t"));
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.erase(0, 1);
    }
    const bool dollar = s.rfind('$', 0) == 0;
    const bool hex = dollar || s.rfind("0x", 0) == 0 || s.rfind("0X", 0) == 0;
    if (hex) s.erase(0, dollar ? 1 : 2);
    if (!allOf(s, hex)) return std::nullopt;
    if (hex) s.erase(0, std::min(s.find_first_not_of('0'), s.size() - 1));
    if (hex && s.size() > 8) return std::nullopt;
    if (hex) {
        std::uint32_t value = 0;
        std::from_chars(s.data(), s.data() + s.size(), value, 16);
        return std::int32_t(negative ? 0u - value : value);
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size()) return std::nullopt;
    value = negative ? -value : value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return std::int32_t(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvel::fuzz::FuzzInput input(data, size);
    const std::int32_t number = std::int32_t(input.u32());
    const QString text = QString::fromUtf8(input.rest());

    const std::optional<std::int32_t> parsed = IntegerText::parse(text);
    check(parsed == expected(text), "the rule as described");
    check(IntegerText::parse(QString::number(number)) == number, "a written number reads back");
    check(IntegerText::parse(u'$' + QString::number(std::uint32_t(number), 16)) == number,
          "a hexadecimal number reads back");
    return 0;
}
