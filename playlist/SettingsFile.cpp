#include "playlist/SettingsFile.h"

#include "base/FixedTexts.h"
#include "base/IniFile.h"
#include "base/IntegerText.h"
#include "base/KorvelError.h"
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
    if (!file.open(QIODevice::ReadOnly)) return {{}, file.errorString()};
    if (file.size() > SettingsFile::MaxFileBytes) {
        return {{}, FixedTexts::SettingsTooLarge.arg(SettingsFile::MaxFileBytes)};
    }
    QByteArray bytes = file.read(SettingsFile::MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) return {{}, file.errorString()};
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

// A row edited or carried over from another system may be in the locale's code page.
SettingsRow readRow(const IniFile& ini, std::size_t entry, const QLocale& locale) {
    const std::optional<QByteArray> value = ini.readBytes(section(), rowKey(entry));
    return value ? RowDataCodec::decode(LegacyText::decode(*value, locale)) : SettingsRow{};
}

// The stored rows that are not UTF-8, by what they read as: such a row, unchanged, is
// written back as it stood, and not in another encoding.
std::map<SettingsRow, QByteArray> legacyRows(const IniFile& ini, const QLocale& locale) {
    std::map<SettingsRow, QByteArray> rows;
    for (std::size_t entry = 1; entry <= std::size_t(PlayListModel::MaxEntries); ++entry) {
        const std::optional<QByteArray> value = ini.readBytes(section(), rowKey(entry));
        if (!value || LegacyText::isUtf8(*value)) continue;
        rows.emplace(RowDataCodec::decode(LegacyText::decode(*value, locale)), *value);
    }
    return rows;
}

// The number of entries ListRow gives, or nothing when it cannot be trusted and the rows
// must be found by their keys.
std::optional<std::size_t> listedEntries(const IniFile& ini) {
    const std::optional<QByteArray> value = ini.readBytes(section(), SettingsKey::ListRow);
    if (!value) {
        if (ini.hasKey(section(), rowKey(1))) return std::nullopt;
        return 0;
    }
    const std::optional<std::int32_t> rows = IntegerText::parse(QString::fromUtf8(*value));
    if (!rows || *rows < 2 || *rows > PlayListModel::MaxRowCount) return std::nullopt;
    return static_cast<std::size_t>(*rows - 2);
}

std::vector<SettingsRow> readRows(const IniFile& ini, const QLocale& locale) {
    std::vector<SettingsRow> rows;
    if (const std::optional<std::size_t> count = listedEntries(ini)) {
        for (std::size_t entry = 1; entry <= *count; ++entry) {
            rows.push_back(readRow(ini, entry, locale));
        }
        return rows;
    }
    const auto maxEntries = static_cast<std::size_t>(PlayListModel::MaxEntries);
    for (std::size_t entry = 1; entry <= maxEntries && ini.hasKey(section(), rowKey(entry));
         ++entry) {
        rows.push_back(readRow(ini, entry, locale));
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
    if (!QFileInfo(folder).isDir()) throw saveError(settingsPath, qt_error_string(error));
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
        if (n < 0) throw saveError(path, qt_error_string(errno));
        done += n;
    }
    if (::fsync(fd) != 0) throw saveError(path, qt_error_string(errno));
}

void saveAtomically(const QString& path, const QByteArray& text) {
    // QSaveFile makes a temporary file beside `path` and renames it over `path` only on
    // commit; when anything fails before, its destructor removes the temporary file and
    // `path` stays as it was. A symbolic link is saved through, to the file it points to.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        throw saveError(path, file.errorString());
    }
    writeAll(file.handle(), text, path);
    if (!file.commit()) throw saveError(path, file.errorString());
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
    result.settings = parse(file.bytes);
    const std::vector<qsizetype> unread = IniFile(file.bytes).unreadLines(Section);
    if (!unread.empty()) {
        result.notice = FixedTexts::SettingsNotUnderstood.arg(QDir::toNativeSeparators(path))
                            .arg(unread.front());
    }
    return result;
}

SettingsData SettingsFile::parse(const QByteArray& text, const QLocale& locale) {
    const IniFile ini(text);
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
    s.rows = readRows(ini, locale);
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
    if (list == ListPart::KeepStored) return ini.text();
    const std::map<SettingsRow, QByteArray> legacy = legacyRows(ini, locale);
    put(SettingsKey::ListRow, QString::number(settings.rows.size() + 2));
    for (std::size_t entry = 1; entry <= settings.rows.size(); ++entry) {
        const SettingsRow& row = settings.rows[entry - 1];
        if (const auto stored = legacy.find(row); stored != legacy.end()) {
            ini.writeBytes(section(), rowKey(entry), stored->second);
        } else {
            put(rowKey(entry), RowDataCodec::encode(row));
        }
    }
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
