// M3U lists over any bytes, plain and M3U8: a list either is refused with a reason or gives
// locations that are lines without their leading blanks and no comments; the M3U8 list
// written from them is UTF-8 and reads back the same, byte for byte.

#include "FuzzInput.h"

#include "base/KorvelError.h"
#include "base/PathBytes.h"
#include "playlist/LegacyText.h"
#include "playlist/ListLocation.h"
#include "playlist/M3uFile.h"
#include "playlist/PlayListModel.h"
#include "playlist/RamFile.h"

#include <QLocale>

using korvel::KorvelError;
using korvel::LegacyText;
using korvel::ListLocation;
using korvel::M3uFile;
using korvel::PathBytes;
using korvel::PlayListModel;
using korvel::RamFile;
using korvel::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvel::fuzz::FuzzInput input(data, size);
    const std::uint8_t shape = input.byte();
    const QLocale locale = shape & 2 ? QLocale(QLocale::Japanese) : QLocale(QLocale::English);
    const QByteArrayView bytes = input.rest();

    QStringList locations;
    try {
        locations = M3uFile::ReadM3uBytes(bytes, shape & 1, locale);
    } catch (const KorvelError& error) {
        check(!error.text().isEmpty(), "a refusal says why");
        return 0;
    }
    for (const QString& location : locations) {
        check(!location.isEmpty() && location.front().unicode() > 32, "no leading blank");
        check(!location.startsWith(u'#'), "no comment");
        check(!location.contains(u'\r') && !location.contains(u'\n'), "a line at most");
    }
    if (locations.size() > PlayListModel::MaxEntries) return 0;
    PlayListModel list;
    for (const QString& location : locations) list.AddEntry(location);
    // A local path is always written; a URL or a relative name only as it is, which a line
    // cannot do when a code page stood a control character first or last for a byte, or when
    // it is not UTF-8 (a name of this system's bytes).
    QStringList fitting, unfit;
    for (const QString& location : locations) {
        const QByteArray name = PathBytes::toBytes(location);
        const bool holds = location.startsWith(u'/') ||
                           (RamFile::FitsOnALine(location) && LegacyText::isUtf8(name) &&
                            location.back().unicode() > 32);
        (holds ? fitting : unfit).append(location);
    }
    QStringList refused;
    const QByteArray written = M3uFile::FormatM3u8(list, &refused);
    check(refused == unfit, "what a line cannot hold is named, nothing else");
    check(LegacyText::isUtf8(written), "the list is UTF-8 text");
    // A local path may come back as a file URI, which Korvel takes as the path.
    const QStringList lines = M3uFile::ReadM3uBytes(written, true);
    check(lines.size() == fitting.size(), "a line for each location written");
    for (qsizetype i = 0; i < lines.size() && i < fitting.size(); ++i) {
        const bool path = fitting[i].startsWith(u'/');
        const QString back =
            path ? ListLocation::fromLine(lines[i], QStringLiteral("/")) : lines[i];
        check(back == fitting[i], "a written list reads back");
    }
    return 0;
}
