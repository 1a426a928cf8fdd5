#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <QStringList>

#include <functional>

namespace korvel {

class PlayListModel;

// M3U and M3U8 lists, as other players write them: one location per line, plain or with
// "#EXTM3U" first and an "#EXTINF:<seconds>,<title>" line before a location; every other
// line starting with "#" is a comment. Lines end with CR, LF or CR LF.
class M3uFile {
public:
    // The locations of a list's bytes, in list order, each a line without its leading blanks
    // (the titles are the entries' own to show, not the list's). `utf8`: an M3U8 list, UTF-8
    // whatever the locale, a name's bytes that are not UTF-8 kept as they are; else read as
    // .ram lists are (RamFile::ReadRamBytes). Raises a KorvelError with the reason when the
    // bytes are no M3U list: binary data, or another kind of list (XML, "[playlist]").
    static QStringList ReadM3uBytes(QByteArrayView bytes, bool utf8,
                                    const QLocale& locale = QLocale(),
                                    const std::function<bool(const QString&)>& exists = {});
    // The list as extended M3U8: "#EXTM3U", then for each entry in list order "#EXTINF:-1,"
    // with its FileName (its length is not known) and its location, as its bytes, lines
    // ended with LF. A location that does not fit on a line is left out and added to
    // `refused`.
    static QByteArray FormatM3u8(const PlayListModel& list, QStringList* refused = nullptr);
    // Whether the save of `path` is to be M3U8: its name ends in ".m3u8", in any letter case.
    static bool IsM3u8Name(const QString& path);
};

} // namespace korvel
