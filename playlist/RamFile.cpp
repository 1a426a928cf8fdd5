#include "playlist/RamFile.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "base/RegularFile.h"
#include "base/SystemErrorText.h"
#include "playlist/LegacyText.h"
#include "playlist/ListCapacity.h"
#include "playlist/ListFile.h"
#include "playlist/M3uFile.h"
#include "playlist/PlayListModel.h"

#include "base/PathBytes.h"

#include <QDir>
#include <QSaveFile>

#include <sys/stat.h>

#include <algorithm>

namespace korvel {

namespace {

constexpr char16_t CtrlZ = 26;
constexpr char16_t Cr = u'\r';
constexpr char16_t Lf = u'\n';

// A short write is retried for the rest, so that a real failure leaves its reason in the
// device's error text; false when the device stops taking bytes.
bool writeAll(QIODevice& device, QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        const qint64 written = device.write(bytes.data(), bytes.size());
        if (written <= 0) return false;
        bytes = bytes.sliced(written);
    }
    return true;
}

// A location in a message: its line breaks and other control characters written out, so the
// name stays on its line of the message.
QString shownLocation(const QString& location) {
    QString shown;
    for (const QChar c : PathBytes::displayed(location)) {
        if (c == Cr)
            shown += QStringLiteral("\\r");
        else if (c == Lf)
            shown += QStringLiteral("\\n");
        else if (c.unicode() < 32)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
        else
            shown += c;
    }
    return shown;
}

// A list's name in a message, as a person would write it: "/m/x/../a.ram" is "/m/a.ram".
QString shownRamPath(const QString& path) { return PathBytes::displayed(QDir::cleanPath(path)); }

KorvelError readError(const QString& path, const QString& reason) {
    return KorvelError(FixedTexts::CannotReadList.arg(shownRamPath(path), reason));
}

KorvelError writeError(const QString& path, const QString& reason) {
    return KorvelError(FixedTexts::CannotWriteList.arg(shownRamPath(path), reason));
}

} // namespace

QString RamFile::Extension(QStringView path) {
    const qsizetype dot = path.lastIndexOf(u'.');
    const qsizetype separator =
        std::max({path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'), path.lastIndexOf(u':')});
    if (dot < 0 || dot < separator) return {};
    return path.sliced(dot).toString();
}

QString RamFile::WithRamExtension(const QString& name) {
    if (name.isEmpty() || !Extension(name).isEmpty()) return name;
    return name + QStringLiteral(".ram");
}

QString RamFile::DecodeRamBytes(QByteArrayView bytes, const QLocale& locale) {
    return LegacyText::decode(bytes, locale);
}

QStringList RamFile::ParseRam(QStringView text) {
    QStringList locations;
    const qsizetype size = text.size();
    qsizetype at = 0;
    for (;;) {
        // The blanks and control characters before a line, line ends among them.
        while (at < size && text[at].unicode() <= 32 && text[at] != CtrlZ) ++at;
        if (at == size || text[at] == CtrlZ) break;
        const qsizetype start = at;
        while (at < size && text[at] != Cr && text[at] != Lf && text[at] != CtrlZ) ++at;
        locations.append(text.sliced(start, at - start).toString());
    }
    return locations;
}

QStringList RamFile::ReadRamBytes(QByteArrayView bytes, const QLocale& locale,
                                  const std::function<bool(const QString&)>& exists) {
    if (LegacyText::isUtf8(bytes)) return ParseRam(DecodeRamBytes(bytes, locale));
    // Line by line: the line breaks and blanks that part the lines are the same bytes in
    // every code page.
    constexpr QByteArrayView Mark = "\xEF\xBB\xBF";
    const QByteArrayView body = bytes.startsWith(Mark) ? bytes.sliced(Mark.size()) : bytes;
    const auto found = [&exists](const QString& path) { return exists && exists(path); };
    QStringList locations;
    for (const QString& line : ParseRam(PathBytes::toText(body))) {
        const QByteArray lineBytes = PathBytes::toBytes(line);
        if (LegacyText::isUtf8(lineBytes)) {
            locations.append(line);
            continue;
        }
        const QString decoded = LegacyText::decode(lineBytes, locale);
        const bool keepBytes = line.startsWith(u'/') && !(found(decoded) && !found(line));
        locations.append(keepBytes ? line : decoded);
    }
    return locations;
}

bool RamFile::FitsOnALine(QStringView location) {
    if (!location.isEmpty() && location.front().unicode() <= 32) return false;
    return !std::any_of(location.begin(), location.end(),
                        [](QChar c) { return c == Cr || c == Lf || c == CtrlZ; });
}

QByteArray RamFile::FormatRam(const PlayListModel& list, QStringList* refused) {
    QByteArray bytes;
    for (int row = 1; row <= list.entryCount(); ++row) {
        const QString location = list.cell(PlayListModel::LocationColumn, row);
        if (!FitsOnALine(location)) {
            if (refused) refused->append(location);
            continue;
        }
        bytes += PathBytes::toBytes(location);
        bytes += "\r\n";
    }
    return bytes;
}

void RamFile::LoadRamFile(const QString& path, ListCapacity& capacity) {
    // As every list: a pipe or a device is refused unread, and a file that does not come is
    // given up (RegularFile).
    QByteArray bytes;
    try {
        bytes = RegularFile::read(path, ListFile::MaxFileBytes);
    } catch (const KorvelError& error) {
        throw readError(path, error.text());
    }
    if (bytes.size() > ListFile::MaxFileBytes)
        throw readError(path, FixedTexts::ListFileTooLarge.arg(ListFile::MaxFileBytes));
    const auto exists = [](const QString& name) {
        struct stat info {};
        return ::stat(PathBytes::toBytes(name).constData(), &info) == 0;
    };
    for (const QString& location : ReadRamBytes(bytes, QLocale(), exists)) capacity.add(location);
}

void RamFile::LoadRamFile(const QString& path, PlayListModel& list) {
    ListCapacity capacity(list);
    LoadRamFile(path, capacity);
    list.NumberRows();
    capacity.raiseIfLeftOut();
}

void RamFile::SaveRamFile(const QString& path, const PlayListModel& list) {
    // Written beside the target and put in its place on commit, so a failure part-way leaves
    // the old list whole. Unbuffered and checked write by write: a buffered save file
    // commits even when the flush in commit() came up short.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        throw writeError(path, SystemErrorText::fromSystem(file.errorString()));
    }
    QStringList refused;
    const QByteArray bytes =
        M3uFile::IsM3u8Name(path) ? M3uFile::FormatM3u8(list, &refused) : FormatRam(list, &refused);
    if (!writeAll(file, bytes) || !file.commit()) {
        throw writeError(path, SystemErrorText::fromSystem(file.errorString()));
    }
    if (refused.isEmpty()) return;
    QStringList lines;
    for (const QString& location : refused) {
        lines.append(FixedTexts::RamLineRefused.arg(shownLocation(location), shownRamPath(path)));
    }
    throw KorvelError(lines.join(QStringLiteral(".\n")));
}

} // namespace korvel
