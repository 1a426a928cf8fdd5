#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <QStringList>

#include <functional>
#include <optional>

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
    // The list as extended M3U8, UTF-8 text: "#EXTM3U", then for each entry in list order
    // "#EXTINF:-1," with its FileName (its length is not known) and its M3u8Line, lines
    // ended with LF. A location no line can hold is left out and added to `refused`.
    static QByteArray FormatM3u8(const PlayListModel& list, QStringList* refused = nullptr);
    // The line that gives `location` in an M3U8 list, such that this reader and other
    // players' (mpv, VLC) read back the same location, byte for byte. A local path is
    // written as it is, or as a "file://" URI with its bytes percent-encoded when other
    // players would misread it on a plain line (a "#", "?" or "%" in it, a blank at its end,
    // a control character, bytes that are not UTF-8). A URL or a relative name is written as
    // it is; nothing when a line cannot hold it so (a line break, a leading "#", a blank at
    // either end, bytes that are not UTF-8).
    static std::optional<QByteArray> M3u8Line(const QString& location);
    // Whether the save of `path` is to be M3U8: its name ends in ".m3u8", in any letter case.
    static bool IsM3u8Name(const QString& path);
};

} // namespace korvel
