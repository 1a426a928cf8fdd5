// The kill rounds, a program of their own: they run in the optimised build only (see
// tests/CMakeLists.txt).
#include "../SettingsTestSupport.h"

#include "playlist/SettingsFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <iostream>

using namespace korvel;
using namespace korvel::test;

namespace {

const QString Probe = QStringLiteral(KORVEL_BINARY_DIR "/settings_kill_probe");

// The verdicts of one kill run of the probe: per file, how often the old text, the new text
// and anything else stood after the kill; and the files left under a temporary name.
struct KillRun {
    int seen[2][3] = {};
    int stray = 0;
    int strayCut = 0;
    QByteArray timing;
};

KillRun killRounds(const QString& root, int rounds, unsigned seed) {
    KillRun run;
    QTemporaryDir dir(root + "/korvel-kill-XXXXXX");
    const QString folder = dir.filePath("saves");
    if (!QDir(dir.path()).mkdir("saves")) throw KorvelError("test setup cannot use " + root);
    SettingsFile::write(dir.filePath("first.ini"), bigSettings(32, QStringLiteral("first")));
    SettingsFile::write(dir.filePath("second.ini"), bigSettings(32, QStringLiteral("second")));
    SettingsFile::write(folder + "/korvel.ini", bigSettings(32, QStringLiteral("first")));
    QProcess probe;
    probe.start(Probe, {"rounds", folder, dir.filePath("first.ini"), dir.filePath("second.ini"),
                        QString::number(rounds), QString::number(seed)});
    EXPECT_TRUE(probe.waitForFinished(300000)) << probe.errorString().toStdString();
    EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
    const QList<QByteArray> lines = probe.readAllStandardOutput().split('\n');
    if (lines.size() != rounds + 3) { // the timing, the rounds, the stray files, the end
        ADD_FAILURE() << lines.size() << " lines from the probe";
        return run;
    }
    run.timing = lines.front();
    for (int round = 1; round <= rounds; ++round) {
        const QByteArray& line = lines[round];
        for (int file = 0; file < 2; ++file) {
            const char verdict = line.size() == 3 ? line[file * 2] : 'x';
            EXPECT_NE(verdict, 'x') << "round " << round << ": the " << (file ? "list" : "settings")
                                    << " file is neither the old nor the new one, whole";
            ++run.seen[file][verdict == 'o' ? 0 : verdict == 'n' ? 1 : 2];
        }
    }
    for (const QByteArray& stray : lines[rounds + 1].split(' ').mid(1)) {
        ++run.stray;
        if (!stray.endsWith("=o") && !stray.endsWith("=n")) ++run.strayCut;
    }
    return run;
}

} // namespace

// Fault: a save killed at any moment (a crash, SIGKILL, the session's end) leaves a cut or
// empty settings file or playlist instead of the old one or the new one, whole. A save killed
// between naming its finished temporary file and the rename leaves that file beside the old
// one: it must be whole too, never a cut file.
TEST(SettingsSave, KillAtAnyMomentLeavesTheOldOrTheNewFile) {
    // A thousand kills in memory (/dev/shm), where a save is quick; a few on the disk of the
    // build, where each waits for the disk. Killing a process loses no written data, so both
    // meet the same steps of a save.
    constexpr int MemoryRounds = 1000;
    const struct {
        QString root;
        int rounds;
    } runs[] = {{QStringLiteral("/dev/shm"), MemoryRounds}, {QDir::tempPath(), 40}};
    const unsigned seed = 20240611;
    for (const auto& r : runs) {
        if (!QFileInfo(r.root).isDir() || !QFileInfo(r.root).isWritable()) {
            std::cout << "no " << r.root.toStdString() << ": its kill rounds are left out\n";
            continue;
        }
        SCOPED_TRACE(r.root.toStdString());
        const KillRun run = killRounds(r.root, r.rounds, seed);
        std::cout << r.root.toStdString() << ": kill harness seed " << seed << ", "
                  << run.timing.toStdString() << "; after " << r.rounds
                  << " kills settings old/new/cut " << run.seen[0][0] << '/' << run.seen[0][1]
                  << '/' << run.seen[0][2] << ", playlist " << run.seen[1][0] << '/'
                  << run.seen[1][1] << '/' << run.seen[1][2] << ", " << run.stray
                  << " whole files left under a temporary name, " << run.strayCut << " cut\n";
        EXPECT_EQ(run.strayCut, 0);
        // Kills spread over the saves meet both files before and after their renames (on a
        // busy machine a save takes longer than measured, and more kills come before it).
        for (const auto& file : run.seen) {
            EXPECT_GT(file[0], r.rounds / 100);
            EXPECT_GT(file[1], r.rounds / 100);
        }
    }
}
