#include "base/IntegerText.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"

#include <QString>

namespace korvel {

namespace {

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

std::optional<std::uint32_t> parseHex(QStringView digits) {
    if (digits.isEmpty()) return std::nullopt;
    // Leading zeros spell nothing; what follows them must fit 32 bits.
    qsizetype zeros = 0;
    while (zeros < digits.size() - 1 && digits[zeros] == u'0') ++zeros;
    digits = digits.sliced(zeros);
    if (digits.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (QChar c : digits) {
        const int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        value = value * 16u + static_cast<std::uint32_t>(d);
    }
    return value;
}

std::optional<std::int64_t> parseDecimal(QStringView digits) {
    if (digits.isEmpty()) return std::nullopt;
    std::int64_t value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<std::int32_t> IntegerText::parse(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    const QStringView rest = text.mid(i);
    if (rest.startsWith(u'$') || rest.startsWith(u"0x") || rest.startsWith(u"0X")) {
        const auto hex = parseHex(rest.mid(rest.startsWith(u'$') ? 1 : 2));
        if (!hex) return std::nullopt;
        const auto value = static_cast<std::int32_t>(*hex);
        return negative ? static_cast<std::int32_t>(0u - *hex) : value;
    }
    const auto magnitude = parseDecimal(rest);
    if (!magnitude) return std::nullopt;
    const std::int64_t value = negative ? -*magnitude : *magnitude;
    if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t IntegerText::toInt(QStringView text) {
    if (const auto value = parse(text)) return *value;
    throw KorvelError(FixedTexts::NotAnInteger.arg(text));
}

} // namespace korvel
