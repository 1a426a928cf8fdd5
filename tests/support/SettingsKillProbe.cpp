// A process that saves settings files for the save tests, which kill it or starve it.
//
//   settings_kill_probe loop <file> <first> <second>
//       Reads the settings files <first> and <second>, prints "ready", then saves them to
//       <file> in turn, second first, without end.
//   settings_kill_probe limited <file> <new> <bytes>
//       Saves <new> to <file> while no file may grow beyond <bytes> (a disk that fills up in
//       the middle of the save). Exits 3 with the error text on stderr when the save is
//       refused, 0 when it went through.

#include "base/KorvelError.h"
#include "playlist/SettingsFile.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>

using korvel::KorvelError;
using korvel::SettingsData;
using korvel::SettingsFile;

namespace {

SettingsData load(const char* path) {
    return SettingsFile::read(QString::fromLocal8Bit(path)).settings;
}

int loop(const QString& file, const SettingsData& first, const SettingsData& second) {
    std::puts("ready");
    std::fflush(stdout);
    for (;;) {
        SettingsFile::write(file, second);
        SettingsFile::write(file, first);
    }
}

int limited(const QString& file, const SettingsData& data, rlim_t bytes) {
    // Past the limit a write fails with EFBIG; the signal that would end the process is
    // ignored so the failure reaches the writer, as a full disk's would.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
    try {
        SettingsFile::write(file, data);
    } catch (const KorvelError& error) {
        std::fputs(error.text().toUtf8().constData(), stderr);
        return 3;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "loop") == 0) {
        return loop(QString::fromLocal8Bit(argv[2]), load(argv[3]), load(argv[4]));
    }
    if (argc == 5 && std::strcmp(argv[1], "limited") == 0) {
        return limited(QString::fromLocal8Bit(argv[2]), load(argv[3]),
                       std::strtoul(argv[4], nullptr, 10));
    }
    std::fputs("usage: settings_kill_probe loop <file> <first> <second>\n"
               "       settings_kill_probe limited <file> <new> <bytes>\n",
               stderr);
    return 2;
}
