// M3U lists over any bytes, plain and M3U8: a list either is refused with a reason or gives
// locations that are lines without their leading blanks and no comments; the M3U8 list
// written from them reads back the same.

#include "FuzzInput.h"

#include "base/KorvelError.h"
#include "playlist/M3uFile.h"
#include "playlist/PlayListModel.h"
#include "playlist/RamFile.h"

#include <QLocale>

using korvel::KorvelError;
using korvel::M3uFile;
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
    // A code page may stand a control character for a byte it has no character for: such a
    // location is refused by the writer, which no line can hold; the rest read back.
    QStringList fitting, unfit;
    for (const QString& location : locations)
        (RamFile::FitsOnALine(location) ? fitting : unfit).append(location);
    QStringList refused;
    const QByteArray written = M3uFile::FormatM3u8(list, &refused);
    check(refused == unfit, "what a line cannot hold is named, nothing else");
    check(M3uFile::ReadM3uBytes(written, true) == fitting, "a written list reads back");
    return 0;
}
