// A process that saves settings files and playlists for the save tests, which kill it or
// starve it.
//
//   settings_kill_probe rounds <folder> <first> <second> <count> <seed>
//       Reads the settings files <first> and <second>. Then, <count> times: puts the first
//       file's text at <folder>/korvel.ini and a list of the first file's locations at
//       <folder>/list.ram, forks a saver that writes, without end, the second settings and
//       the second list, then the first ones, the way the player saves at its close and the
//       list's RAM button saves; kills the saver with SIGKILL after a random wait spread over
//       two rounds of saves, and tells what each file holds. Prints one line per round,
//       "<settings> <list>", each 'o' (the old text, whole), 'n' (the new text, whole) or 'x'
//       (anything else), then "stray" and, for each other file in <folder>, " <name>=<verdict>"
//       (a saved file left under its temporary name is whole, or 'x').
//   settings_kill_probe limited <file> <new> <bytes>
//       Saves <new> to <file> while no file may grow beyond <bytes> (a disk that fills up in
//       the middle of the save). Exits 3 with the error text on stderr when the save is
//       refused, 0 when it went through.
//
// The kill rounds fork rather than start a process each: a round then costs the wait and the
// saves alone, and a thousand of them take seconds. The saver does nothing but save, so the
// fork of this single-threaded process is safe.

#include "base/KorvelError.h"
#include "playlist/PlayListModel.h"
#include "playlist/RamFile.h"
#include "playlist/SettingsFile.h"

#include <QDir>
#include <QFile>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using korvel::KorvelError;
using korvel::PlayListModel;
using korvel::RamFile;
using korvel::SettingsData;
using korvel::SettingsFile;

namespace {

SettingsData load(const char* path) {
    return SettingsFile::read(QString::fromLocal8Bit(path)).settings;
}

void listOf(const SettingsData& settings, PlayListModel& list) {
    for (const korvel::SettingsRow& row : settings.rows) list.AddEntry(row[6]);
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

char verdict(const QByteArray& text, const QByteArray& old, const QByteArray& fresh) {
    if (text == old) return 'o';
    return text == fresh ? 'n' : 'x';
}

struct Saves {
    QString settingsPath;
    QString listPath;
    SettingsData settings[2];
    PlayListModel lists[2];
};

[[noreturn]] void saveForever(const Saves& saves) {
    for (int turn = 1;; turn ^= 1) {
        SettingsFile::write(saves.settingsPath, saves.settings[turn]);
        RamFile::SaveRamFile(saves.listPath, saves.lists[turn]);
    }
}

// How long two rounds of saves take here, in microseconds: the longest useful kill wait.
long twoRounds(const Saves& saves) {
    const auto started = std::chrono::steady_clock::now();
    for (int turn : {1, 0, 1, 0}) {
        SettingsFile::write(saves.settingsPath, saves.settings[turn]);
        RamFile::SaveRamFile(saves.listPath, saves.lists[turn]);
    }
    return long(std::chrono::duration_cast<std::chrono::microseconds>(
                    std::chrono::steady_clock::now() - started)
                    .count());
}

int rounds(const QString& folder, const char* first, const char* second, long count,
           unsigned seed) {
    Saves saves;
    saves.settingsPath = folder + "/korvel.ini";
    saves.listPath = folder + "/list.ram";
    saves.settings[0] = load(first);
    saves.settings[1] = load(second);
    listOf(saves.settings[0], saves.lists[0]);
    listOf(saves.settings[1], saves.lists[1]);
    const long longest = twoRounds(saves) * 5 / 4;
    const QByteArray oldSettings = bytesOf(saves.settingsPath);
    const QByteArray newSettings = SettingsFile::compose(oldSettings, saves.settings[1]);
    const QByteArray oldList = RamFile::FormatRam(saves.lists[0]);
    const QByteArray newList = RamFile::FormatRam(saves.lists[1]);
    std::printf("two rounds of saves take %ld us\n", longest * 4 / 5);
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> wait(0, longest);
    for (long round = 0; round < count; ++round) {
        if (!put(saves.settingsPath, oldSettings) || !put(saves.listPath, oldList)) return 2;
        std::fflush(stdout);
        // The wait runs from the moment the saver begins, however long the fork took.
        int begun[2];
        if (::pipe(begun) != 0) return 2;
        const pid_t saver = ::fork();
        if (saver < 0) return 2;
        if (saver == 0) {
            const char byte = 1;
            if (::write(begun[1], &byte, 1) != 1) ::_exit(2);
            saveForever(saves);
        }
        char byte = 0;
        const bool began = ::read(begun[0], &byte, 1) == 1;
        ::close(begun[0]);
        ::close(begun[1]);
        if (began) ::usleep(static_cast<useconds_t>(wait(random)));
        ::kill(saver, SIGKILL);
        ::waitpid(saver, nullptr, 0);
        std::printf("%c %c\n", verdict(bytesOf(saves.settingsPath), oldSettings, newSettings),
                    verdict(bytesOf(saves.listPath), oldList, newList));
    }
    // A save killed between naming its new file and renaming it leaves that file behind.
    std::printf("stray");
    const QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                     QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const QByteArray text = bytesOf(folder + u'/' + name);
        if (name.startsWith(QStringLiteral("korvel.ini."))) {
            std::printf(" %s=%c", qPrintable(name), verdict(text, oldSettings, newSettings));
        } else if (name.startsWith(QStringLiteral("list.ram."))) {
            std::printf(" %s=%c", qPrintable(name), verdict(text, oldList, newList));
        } else if (name != QStringLiteral("korvel.ini") && name != QStringLiteral("list.ram")) {
            std::printf(" %s=x", qPrintable(name));
        }
    }
    std::printf("\n");
    return 0;
}

// Past the limit a write fails with EFBIG; the signal that would end the process is ignored
// so the failure reaches the writer, as a full disk's would.
bool limitFileSize(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

int refusedOrDone(const std::function<void()>& save) {
    try {
        save();
    } catch (const KorvelError& error) {
        std::fputs(error.text().toUtf8().constData(), stderr);
        return 3;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 7 && std::strcmp(argv[1], "rounds") == 0) {
        return rounds(QString::fromLocal8Bit(argv[2]), argv[3], argv[4],
                      std::strtol(argv[5], nullptr, 10),
                      static_cast<unsigned>(std::strtoul(argv[6], nullptr, 10)));
    }
    if (argc == 5 && std::strcmp(argv[1], "limited") == 0) {
        const QString file = QString::fromLocal8Bit(argv[2]);
        const SettingsData data = load(argv[3]);
        if (!limitFileSize(std::strtoul(argv[4], nullptr, 10))) return 2;
        return refusedOrDone([&] { SettingsFile::write(file, data); });
    }
    std::fputs("usage: settings_kill_probe rounds <folder> <first> <second> <count> <seed>\n"
               "       settings_kill_probe limited <file> <new> <bytes>\n",
               stderr);
    return 2;
}
