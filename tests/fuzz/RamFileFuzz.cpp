// .ram lists over any bytes, under several locales: every location read is a line without
// its leading blanks, and the list written from them reads back the same.

#include "FuzzInput.h"

#include "playlist/PlayListModel.h"
#include "playlist/RamFile.h"

#include <QLocale>

using korvel::PlayListModel;
using korvel::RamFile;
using korvel::fuzz::check;

namespace {

QLocale localeFrom(std::uint8_t byte) {
    static const QLocale locales[] = {
        QLocale(QLocale::English),
        QLocale(QLocale::Japanese),
        QLocale(QLocale::Russian),
        QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan),
        QLocale(QLocale::Chinese),
        QLocale(QLocale::Korean),
        QLocale(QLocale::Arabic)};
    return locales[byte % std::size(locales)];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvel::fuzz::FuzzInput input(data, size);
    const QLocale locale = localeFrom(input.byte());
    const QByteArrayView bytes = input.rest();

    const QStringList locations = RamFile::ReadRamBytes(bytes, locale);
    for (const QString& location : locations) {
        check(!location.isEmpty() && location.front().unicode() > 32, "no leading blank");
        check(!location.contains(u'\r') && !location.contains(u'\n') &&
                  !location.contains(QChar(26)),
              "a line at most");
    }
    if (locations.size() > PlayListModel::MaxEntries) return 0;
    PlayListModel list;
    for (const QString& location : locations) list.AddEntry(location);
    const QByteArray written = RamFile::FormatRam(list);
    // A first location that starts with U+FEFF loses it: at the file's start it is read as
    // the byte-order mark.
    QStringList expected = locations;
    if (!expected.isEmpty() && expected.front().startsWith(QChar(0xFEFF))) {
        expected.front().remove(0, 1);
        if (expected.front().isEmpty() || expected.front().front().unicode() <= 32) return 0;
    }
    check(RamFile::ReadRamBytes(written, locale) == expected, "a written list reads back");
    return 0;
}
