#include "playlist/SettingsFile.h"

#include "base/FixedTexts.h"
#include "base/IniFile.h"
#include "base/IntegerText.h"
#include "base/KorvelError.h"
#include "base/SystemErrorText.h"
#include "playlist/LegacyText.h"
#include "playlist/PlayListModel.h"
#include "playlist/RowDataCodec.h"
#include "playlist/SettingsKeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {

namespace {

const QString& section() { return SettingsFile::Section; }

QString rowKey(std::size_t entry) {
    return SettingsKey::RowData.toString() + QString::number(entry);
}

// The file's bytes, or why they could not be had.
struct FileText {
    QByteArray bytes;
    QString error;
};

FileText readWhole(const QString& path) {
    // A folder or a pipe standing at the path would fail late or block the read.
    if (!QFileInfo(path).isFile()) return {{}, FixedTexts::SettingsNotAFile};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, SystemErrorText::fromSystem(file.errorString())};
    const qint64 size = file.size();
    if (size > SettingsFile::MaxFileBytes) {
        return {{}, FixedTexts::SettingsTooLarge.arg(SettingsFile::MaxFileBytes)};
    }
    // A read asks for memory for all it may get: what the file holds, and on to the limit
    // only if it grew since it was opened (every start and save reads the file).
    QByteArray bytes = file.read(size + 1);
    if (bytes.size() > size) bytes += file.read(SettingsFile::MaxFileBytes + 1 - bytes.size());
    if (file.error() != QFileDevice::NoError)
        return {{}, SystemErrorText::fromSystem(file.errorString())};
    if (bytes.size() > SettingsFile::MaxFileBytes) {
        return {{}, FixedTexts::SettingsTooLarge.arg(SettingsFile::MaxFileBytes)};
    }
    return {bytes, {}};
}

KorvelError saveError(const QString& path, const QString& reason) {
    return KorvelError(FixedTexts::SettingsSave.arg(QDir::toNativeSeparators(path), reason));
}

int readNumber(const IniFile& ini, QStringView key, int defaultValue) {
    return ini.readInteger(section(), key, defaultValue);
}

int readLength(const IniFile& ini, QStringView key, int defaultValue) {
    const int value = readNumber(ini, key, defaultValue);
    return value >= 1 ? value : defaultValue;
}

// The number of a RowData key ("RowData12" is 12; no leading zeros), or nothing.
std::optional<std::size_t> rowNumber(QStringView key) {
    const QStringView prefix = SettingsKey::RowData;
    if (!key.startsWith(prefix, Qt::CaseInsensitive) || key.size() == prefix.size()) return {};
    const QStringView digits = key.sliced(prefix.size());
    if (digits.front() == u'0' || digits.size() > 9) return {};
    std::size_t number = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') return {};
        number = number * 10 + std::size_t(c.unicode() - u'0');
    }
    return number;
}

// The RowData values of the file by their number; the first line of a number counts.
std::map<std::size_t, QByteArray> rowValues(const IniFile& ini) {
    std::map<std::size_t, QByteArray> values;
    for (const auto& [key, value] : ini.entries(section())) {
        if (const std::optional<std::size_t> number = rowNumber(key))
            values.emplace(*number, value);
    }
    return values;
}

// The stored list: each entry's value as it stands in the file (nothing for a blank entry),
// in list order, as many as the file holds, also past what the list can hold. ListRow gives
// their number; within 2..256 a missing key is a blank entry. A ListRow above that (written by
// hand) gives the keys that stand up to it, in the order of their numbers. When ListRow is
// missing while RowData1 stands, or is not a number, or is below 2, the entries are RowData1
// upwards up to the first missing key.
std::vector<std::optional<QByteArray>> storedList(const IniFile& ini) {
    const std::map<std::size_t, QByteArray> values = rowValues(ini);
    const std::optional<QByteArray> listRow = ini.readBytes(section(), SettingsKey::ListRow);
    // -1 when it is not a number, which lies outside the range as any damaged value does.
    const std::int32_t rows =
        listRow ? IntegerText::parse(QString::fromUtf8(*listRow)).value_or(-1) : -1;
    std::vector<std::optional<QByteArray>> list;
    if (!listRow && !values.contains(1)) return list;
    if (rows >= 2 && rows <= PlayListModel::MaxRowCount) {
        for (std::size_t entry = 1; entry + 2 <= std::size_t(rows); ++entry) {
            const auto value = values.find(entry);
            list.push_back(value == values.end() ? std::nullopt : std::optional(value->second));
        }
    } else if (rows > PlayListModel::MaxRowCount) {
        for (const auto& [entry, value] : values) {
            if (entry + 2 > std::size_t(rows)) break;
            list.push_back(value);
        }
    } else {
        for (auto value = values.find(1); value != values.end() && value->first == list.size() + 1;
             ++value) {
            list.push_back(value->second);
        }
    }
    return list;
}

// A row edited or carried over from another system may be in the locale's code page.
SettingsRow decodeRow(const std::optional<QByteArray>& value, const QLocale& locale) {
    return value ? RowDataCodec::decode(LegacyText::decode(*value, locale)) : SettingsRow{};
}

// The entries the list holds of the stored list: the first 254.
std::vector<SettingsRow> heldRows(const std::vector<std::optional<QByteArray>>& stored,
                                  const QLocale& locale) {
    const std::size_t held = std::min(stored.size(), std::size_t(PlayListModel::MaxEntries));
    std::vector<SettingsRow> rows;
    rows.reserve(held);
    for (std::size_t entry = 0; entry < held; ++entry)
        rows.push_back(decodeRow(stored[entry], locale));
    return rows;
}

// The rows the list took in that are not UTF-8, by what they read as: such a row, unchanged,
// is written back as it stood, and not in another encoding.
std::map<SettingsRow, QByteArray> legacyRows(const std::vector<std::optional<QByteArray>>& stored,
                                             const QLocale& locale) {
    std::map<SettingsRow, QByteArray> rows;
    const std::size_t held = std::min(stored.size(), std::size_t(PlayListModel::MaxEntries));
    for (std::size_t entry = 0; entry < held; ++entry) {
        const std::optional<QByteArray>& value = stored[entry];
        if (value && !LegacyText::isUtf8(*value)) rows.emplace(decodeRow(value, locale), *value);
    }
    return rows;
}

// Makes `folder` and its missing parents, each private to the user.
void makeFolder(const QString& folder, const QString& settingsPath) {
    if (QFileInfo(folder).isDir()) return;
    const QString parent = QFileInfo(folder).absolutePath();
    if (parent != folder) makeFolder(parent, settingsPath);
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) == 0) return;
    // A regular file standing where a folder must be says "exists"; say what is wrong.
    const int error = errno == EEXIST ? ENOTDIR : errno;
    if (!QFileInfo(folder).isDir()) throw saveError(settingsPath, SystemErrorText::of(error));
}

// After the rename the folder entry itself must reach the disk too, or a power cut could
// bring back the old name. The new file is already in place by then, so a folder that
// cannot be synced (some file systems refuse) is no reason to report a failed save.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Writes all of `text` to `fd`; the failing call's own reason ("No space left on device")
// rather than what a buffered device remembers of it.
void writeAll(int fd, const QByteArray& text, const QString& path) {
    qsizetype done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.constData() + done, std::size_t(text.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw saveError(path, SystemErrorText::of(errno));
        done += n;
    }
    if (::fsync(fd) != 0) throw saveError(path, SystemErrorText::of(errno));
}

void saveAtomically(const QString& path, const QByteArray& text) {
    // QSaveFile makes a temporary file beside `path` and renames it over `path` only on
    // commit; when anything fails before, its destructor removes the temporary file and
    // `path` stays as it was. A symbolic link is saved through, to the file it points to.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        throw saveError(path, SystemErrorText::fromSystem(file.errorString()));
    }
    writeAll(file.handle(), text, path);
    if (!file.commit()) throw saveError(path, SystemErrorText::fromSystem(file.errorString()));
    syncFolder(QFileInfo(QFileInfo(path).canonicalFilePath()).absolutePath());
}

} // namespace

SettingsFile::ReadResult SettingsFile::read(const QString& path) {
    ReadResult result;
    if (!QFileInfo::exists(path)) return result;
    const FileText file = readWhole(path);
    if (!file.error.isEmpty()) {
        result.listTaken = false;
        result.error = FixedTexts::SettingsRead.arg(QDir::toNativeSeparators(path), file.error);
        return result;
    }
    const IniFile ini(file.bytes);
    const std::vector<std::optional<QByteArray>> stored = storedList(ini);
    result.settings = settingsOf(ini, stored, QLocale());
    QStringList notices;
    const QString shownPath = QDir::toNativeSeparators(path);
    if (stored.size() > std::size_t(PlayListModel::MaxEntries)) {
        notices.append(FixedTexts::SettingsRowsKept.arg(shownPath)
                           .arg(stored.size())
                           .arg(PlayListModel::MaxEntries));
    }
    const std::vector<qsizetype> unread = ini.unreadLines(Section);
    if (!unread.empty()) {
        notices.append(FixedTexts::SettingsNotUnderstood.arg(shownPath).arg(unread.front()));
    }
    result.notice = notices.join(QStringLiteral(".\n"));
    return result;
}

SettingsData SettingsFile::parse(const QByteArray& text, const QLocale& locale) {
    const IniFile ini(text);
    return settingsOf(ini, storedList(ini), locale);
}

SettingsData SettingsFile::settingsOf(const IniFile& ini,
                                      const std::vector<std::optional<QByteArray>>& stored,
                                      const QLocale& locale) {
    SettingsData s;
    s.imageWindowPos = {readNumber(ini, SettingsKey::ImageWindowPosX, s.imageWindowPos.x()),
                        readNumber(ini, SettingsKey::ImageWindowPosY, s.imageWindowPos.y())};
    s.playListPos = {readNumber(ini, SettingsKey::PlayListPosX, s.playListPos.x()),
                     readNumber(ini, SettingsKey::PlayListPosY, s.playListPos.y())};
    s.playerPos = {readNumber(ini, SettingsKey::PlayerPosX, s.playerPos.x()),
                   readNumber(ini, SettingsKey::PlayerPosY, s.playerPos.y())};
    s.windowFix = readNumber(ini, SettingsKey::WindowFix, 0) == 1;
    s.clientSize = {readLength(ini, SettingsKey::ClientWidth, s.clientSize.width()),
                    readLength(ini, SettingsKey::ClientHeight, s.clientSize.height())};
    s.scrSize = readNumber(ini, SettingsKey::ScrSize, s.scrSize);
    s.volume = readNumber(ini, SettingsKey::Volume, s.volume);
    s.openFolder = ini.readString(section(), SettingsKey::OpenFolder, QString());
    s.skin = ini.readString(section(), SettingsKey::Skin, QString());
    s.rows = heldRows(stored, locale);
    return s;
}

void SettingsFile::write(const QString& path, const SettingsData& settings, ListPart list,
                         PlacePart places) {
    QByteArray existing;
    if (QFileInfo::exists(path)) {
        // Saving over a file whose lines could not be read would lose them.
        FileText file = readWhole(path);
        if (!file.error.isEmpty()) throw saveError(path, file.error);
        existing = std::move(file.bytes);
    }
    const QByteArray text = compose(existing, settings, list, places);
    // The reader takes no larger file: such a file would cost every later start its list.
    if (text.size() > MaxFileBytes) {
        throw saveError(path, FixedTexts::SettingsWouldBeTooLarge.arg(MaxFileBytes));
    }
    makeFolder(QFileInfo(path).absolutePath(), path);
    saveAtomically(path, text);
}

QByteArray SettingsFile::compose(const QByteArray& existing, const SettingsData& settings,
                                 ListPart list, PlacePart places, const QLocale& locale) {
    IniFile ini(existing);
    const auto put = [&ini](QStringView key, const QString& value) {
        ini.writeString(section(), key, value);
    };
    const auto putNumber = [&put](QStringView key, int value) { put(key, QString::number(value)); };
    if (places == PlacePart::Write) {
        putNumber(SettingsKey::ImageWindowPosX, settings.imageWindowPos.x());
        putNumber(SettingsKey::ImageWindowPosY, settings.imageWindowPos.y());
        putNumber(SettingsKey::PlayListPosX, settings.playListPos.x());
        putNumber(SettingsKey::PlayListPosY, settings.playListPos.y());
        putNumber(SettingsKey::PlayerPosX, settings.playerPos.x());
        putNumber(SettingsKey::PlayerPosY, settings.playerPos.y());
    }
    putNumber(SettingsKey::WindowFix, settings.windowFix ? 1 : 0);
    putNumber(SettingsKey::ClientWidth, settings.clientSize.width());
    putNumber(SettingsKey::ClientHeight, settings.clientSize.height());
    putNumber(SettingsKey::ScrSize, settings.scrSize);
    putNumber(SettingsKey::Volume, settings.volume);
    // A file that never had a folder gets no empty line for it.
    if (!settings.openFolder.isEmpty()) put(SettingsKey::OpenFolder, settings.openFolder);
    // A file that never named a skin stays without the line while the built-in one is used.
    if (!settings.skin.isEmpty() || ini.hasKey(section(), SettingsKey::Skin))
        put(SettingsKey::Skin, settings.skin);
    if (list == ListPart::KeepStored) return ini.text();
    const std::vector<std::optional<QByteArray>> stored = storedList(ini);
    const std::map<SettingsRow, QByteArray> legacy = legacyRows(stored, locale);
    // The stored rows the list could not hold follow its entries, so every later start
    // reaches them; ListRow counts them too.
    const std::size_t kept =
        stored.size() - std::min(stored.size(), std::size_t(PlayListModel::MaxEntries));
    std::vector<std::pair<QString, QByteArray>> rows;
    rows.emplace_back(SettingsKey::ListRow.toString(),
                      QByteArray::number(qulonglong(settings.rows.size() + kept + 2)));
    for (std::size_t entry = 1; entry <= settings.rows.size(); ++entry) {
        const SettingsRow& row = settings.rows[entry - 1];
        const auto old = legacy.find(row);
        rows.emplace_back(rowKey(entry),
                          old != legacy.end() ? old->second : RowDataCodec::encode(row).toUtf8());
    }
    for (std::size_t k = 0; k < kept; ++k) {
        const std::optional<QByteArray>& value = stored[std::size_t(PlayListModel::MaxEntries) + k];
        rows.emplace_back(rowKey(settings.rows.size() + 1 + k), value.value_or(QByteArray()));
    }
    ini.writeAllBytes(section(), rows);
    return ini.text();
}

qint64 SettingsFile::storedBytes(const SettingsRow& row) {
    // "RowData254=" and the line end around the value.
    constexpr qint64 KeyAndLineEnd = 13;
    return RowDataCodec::encode(row).toUtf8().size() + KeyAndLineEnd;
}

void SettingsFile::loadRows(const std::vector<SettingsRow>& rows, PlayListModel& list) {
    if (rows.size() > static_cast<std::size_t>(PlayListModel::MaxEntries)) {
        throw KorvelError(FixedTexts::ListFull.arg(PlayListModel::MaxEntries));
    }
    const int count = static_cast<int>(rows.size());
    list.setRowCount(2);
    list.setRowCount(count + 2);
    for (int entry = 1; entry <= count; ++entry) {
        const SettingsRow& row = rows[static_cast<std::size_t>(entry - 1)];
        for (std::size_t i = 0; i < row.size(); ++i) {
            list.setCell(static_cast<int>(i) + 1, entry, row[i]);
        }
    }
    list.NumberRows();
}

std::vector<SettingsRow> SettingsFile::storedRows(const PlayListModel& list) {
    std::vector<SettingsRow> rows;
    for (int entry = 1; entry <= list.entryCount(); ++entry) {
        SettingsRow row;
        for (std::size_t i = 0; i < row.size(); ++i) {
            row[i] = list.cell(static_cast<int>(i) + 1, entry);
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace korvel
