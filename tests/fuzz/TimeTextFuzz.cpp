// Time texts: a text that reads is a time of day in whole seconds, written back it reads the
// same with either separator; any count written reads back as its time of day.

#include "FuzzInput.h"

#include "base/KorvelError.h"
#include "base/TimeText.h"

#include <optional>

using korvel::KorvelError;
using korvel::TimeText;
using korvel::fuzz::check;

namespace {

constexpr std::int64_t MsPerDay = 24LL * 3600 * 1000;

std::optional<std::int64_t> read(const QString& text) {
    try {
        return TimeText::toMs(text);
    } catch (const KorvelError&) {
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvel::fuzz::FuzzInput input(data, size);
    const std::int64_t count = std::int64_t(std::uint64_t(input.u32()) << 32 | input.u32());
    const QString text = QString::fromUtf8(input.rest());

    if (const std::optional<std::int64_t> ms = read(text)) {
        check(*ms >= 0 && *ms < MsPerDay && *ms % 1000 == 0, "a time of day in seconds");
        check(read(TimeText::fromMs(*ms, u':')) == ms, "written with ':' it reads back");
        check(read(TimeText::fromMs(*ms, u'.')) == ms, "written with '.' it reads back");
    }
    const std::int64_t ofDay = count < 0 ? 0 : count % MsPerDay / 1000 * 1000;
    for (const QChar separator : {QChar(u':'), QChar(u'.')}) {
        const QString written = TimeText::fromMs(count, separator);
        check(written.size() == 8, "hh:mm:ss");
        check(read(written) == ofDay, "any count reads back as its time of day");
    }
    return 0;
}
