#include "../AppTestSupport.h"

#include "app/HandOffServer.h"
#include "app/launcher/InstanceGuard.h"
#include "app/launcher/Launcher.h"
#include "app/launcher/LauncherText.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QRegularExpression>

#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

using namespace korvel;
using namespace korvel::test;

namespace {

Finished launch(const QString& argument, int patienceMs = 3000) {
    ChildProcess launcher;
    startLauncher(launcher, argument, patienceMs);
    return finish(launcher);
}

// Fault: a later start ends before the running instance has handled its text, cuts or
// mangles the text, or reports failure; the receiver does not end cleanly.
TEST(Launcher, HandsTextsOverAndWaitsForTheHandler) {
    TestRuntime runtime;
    ReceiverProbe receiver(runtime.out(), 300);
    ASSERT_TRUE(receiver.waitListening());
    const QStringList texts{"/home/user/clip.avi", "/" + QString(300, 'x'), "/動画/テスト.rm"};
    for (qsizetype n = 0; n < texts.size(); ++n) {
        EXPECT_EQ(launch(texts[n]).exitCode, 0);
        // The handler writes its file after sleeping: it must exist once the sender has ended.
        EXPECT_EQ(receivedTexts(runtime.out()).size(), n + 1);
    }
    EXPECT_EQ(receivedTexts(runtime.out()), texts);
    EXPECT_EQ(launch("/quit").exitCode, 0);
    EXPECT_EQ(finish(receiver).exitCode, 0);
}

// Fault: an empty clip name was handed over like a clip, and the player's list play stopped
// after its entry. A later start refuses it itself; a start without a clip still reaches the
// player (to bring it forward) with the empty text; a first start runs the player, which
// tells of the empty name in its error box.
TEST(Launcher, RefusesAnEmptyClipNameAndHandsOverNoClip) {
    {
        TestRuntime runtime;
        ReceiverProbe receiver(runtime.out());
        ASSERT_TRUE(receiver.waitListening());
        const Finished empty = launch("");
        EXPECT_EQ(empty.exitCode, 1);
        EXPECT_TRUE(empty.err.contains("an empty clip name")) << empty.err.toStdString();
        EXPECT_TRUE(receivedTexts(runtime.out()).isEmpty());
        ChildProcess bare;
        startLauncherWithoutClip(bare);
        EXPECT_EQ(finish(bare).exitCode, 0);
        EXPECT_EQ(receivedTexts(runtime.out()), QStringList{""});
    }
    TestRuntime runtime;
    EXPECT_EQ(launch("").exitCode, 7);
}

// Fault: a text beyond the bound hangs the later start, reaches the player, or is reported
// as delivered; the receiver does not recover.
TEST(Launcher, ReportsARefusedTextAndTheReceiverGoesOn) {
    TestRuntime runtime;
    ReceiverProbe receiver(runtime.out());
    ASSERT_TRUE(receiver.waitListening());
    const Finished refused = launch(QString(100000, 'a'));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("longer than 65536 bytes")) << refused.err.toStdString();
    EXPECT_EQ(launch("/after").exitCode, 0);
    EXPECT_EQ(receivedTexts(runtime.out()), QStringList{"/after"});
}

// Fault: a failing handler leaves the sender without an answer or breaks later hand-offs.
TEST(Launcher, AnswersEvenWhenTheHandlerFails) {
    TestRuntime runtime;
    ReceiverProbe receiver(runtime.out());
    ASSERT_TRUE(receiver.waitListening());
    EXPECT_EQ(launch("/throw").exitCode, 0);
    EXPECT_EQ(launch("/next").exitCode, 0);
    QFile errors(runtime.out() + "/errors.txt");
    ASSERT_TRUE(errors.open(QIODevice::ReadOnly));
    EXPECT_EQ(errors.readAll(), "probe failure\n");
    EXPECT_EQ(receivedTexts(runtime.out()), QStringList{"/next"});
}

// Fault: a later start while the first instance is still starting drops its text.
TEST(Launcher, WaitsForAReceiverThatAppearsLate) {
    TestRuntime runtime;
    InstanceGuard firstInstance(runtime.dir().guardPath());
    ASSERT_TRUE(firstInstance.tryAcquire());
    ChildProcess launcher;
    startLauncher(launcher, "/late.avi");
    EXPECT_FALSE(launcher.waitForFinished(300)); // still trying, not given up
    QStringList received;
    HandOffServer server(runtime.endpointFile(), [&](const QString& text) { received << text; });
    server.listen();
    EXPECT_EQ(finish(launcher).exitCode, 0);
    EXPECT_EQ(received, QStringList{"/late.avi"});
}

// Fault: a later start keeps waiting on a guard whose holder has ended instead of taking over.
TEST(Launcher, BecomesFirstWhenTheHolderEndsWhileWaiting) {
    TestRuntime runtime;
    InstanceGuard dying(runtime.dir().guardPath());
    ASSERT_TRUE(dying.tryAcquire());
    ChildProcess launcher;
    startLauncher(launcher, "clip.avi");
    EXPECT_FALSE(launcher.waitForFinished(300));
    dying.release();
    const Finished result = finish(launcher);
    EXPECT_EQ(result.exitCode, 7);
    EXPECT_EQ(result.out, "first " + QByteArray::fromStdString(runtime.endpoint()) + "\n");
}

// Fault: a guard and socket left by a crashed instance block every later start.
TEST(Launcher, BecomesFirstAfterACrashedInstance) {
    TestRuntime runtime;
    ReceiverProbe crashed(runtime.out());
    ASSERT_TRUE(crashed.waitListening());
    crashed.kill();
    ASSERT_TRUE(crashed.waitForFinished());
    ASSERT_TRUE(QFileInfo::exists(runtime.endpointFile())); // left behind
    EXPECT_EQ(launch("clip.avi").exitCode, 7);
}

// Fault: with a live guard and no receiver, a later start hangs, or ends without a word or
// with success though its clip was lost.
TEST(Launcher, GivesUpWithAMessageWhenNobodyAnswers) {
    TestRuntime runtime;
    InstanceGuard firstInstance(runtime.dir().guardPath());
    ASSERT_TRUE(firstInstance.tryAcquire());
    const Finished result = launch("/srv/clip.avi", 400);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("did not answer in time")) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("\"/srv/clip.avi\""));
}

// Fault: without a safe place for the guard the program refuses to start, or runs without
// the guard silently or telling it more than once.
TEST(Launcher, RunsAloneWithoutAPlaceForTheGuard) {
    QTemporaryDir home;
    QFile(home.path() + "/file").open(QIODevice::WriteOnly);
    {
        // No runtime folder, and the cache folder cannot be made under a plain file.
        const ScopedEnv runtimeEnv("XDG_RUNTIME_DIR");
        const ScopedEnv cacheEnv("XDG_CACHE_HOME", (home.path() + "/file/cache").toLocal8Bit());
        const Finished result = launch("clip.avi");
        EXPECT_EQ(result.exitCode, 7);
        EXPECT_EQ(result.out, "first \n");
        EXPECT_EQ(result.err.count("runs without its single-instance guard"), 1)
            << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(home.path().toUtf8() + "/file/cache"));
    }
    {
        // A runtime folder where the lock file cannot be made.
        TestRuntime runtime;
        ASSERT_TRUE(QDir(runtime.path()).mkdir("Korvel2.lock"));
        const Finished result = launch("clip.avi");
        EXPECT_EQ(result.exitCode, 7);
        EXPECT_EQ(result.out, "first \n");
        EXPECT_EQ(result.err.count("runs without its single-instance guard"), 1)
            << result.err.toStdString();
    }
}

// Fault: under Japanese the launcher's messages on the terminal, and the system's reasons in
// them, are English.
TEST(KorvelProgram, TellsItsMessagesInTheUsersLanguage) {
    if (!QFileInfo::exists(korvelProgram())) {
        GTEST_SKIP() << "the korvel program is not built";
    }
    TestRuntime runtime;
    ReceiverProbe receiver(runtime.out());
    ASSERT_TRUE(receiver.waitListening());
    const std::pair<const char*, QByteArray> rows[] = {
        {"ja", "korvel: 空のクリップ名が渡されました。動いている Korvel "
               "には再生を頼んでいません。\n"},
        {"en", "korvel: an empty clip name was given; the running Korvel was not asked to play "
               "it.\n"},
    };
    for (const auto& [language, told] : rows) {
        const ScopedEnv languageEnv("LANGUAGE", language);
        ChildProcess korvel;
        korvel.start(korvelProgram(), {""});
        const Finished empty = finish(korvel);
        EXPECT_EQ(empty.exitCode, 1);
        EXPECT_EQ(empty.err, told) << language;
    }
}

// The reasons the launcher's own calls meet are told in its language too; one it has no words
// for is named.
TEST(Launcher, TellsTheSystemsReasonsInItsLanguage) {
    QTemporaryDir home;
    QFile(home.path() + "/file").open(QIODevice::WriteOnly);
    const ScopedEnv runtimeEnv("XDG_RUNTIME_DIR");
    const ScopedEnv cacheEnv("XDG_CACHE_HOME", (home.path() + "/file/cache").toLocal8Bit());
    LauncherText::setLanguage("ja");
    std::string japanese;
    EXPECT_FALSE(Launcher::locateDir([&japanese](const std::string& text) { japanese += text; }));
    EXPECT_EQ(LauncherText::systemReason(EXDEV), "システムのエラー EXDEV");
    LauncherText::setLanguage("");
    std::string english;
    EXPECT_FALSE(Launcher::locateDir([&english](const std::string& text) { english += text; }));
    const std::string cache = home.path().toStdString() + "/file/cache";
    EXPECT_EQ(japanese, "korvel: Korvel の実行時ファイル用のフォルダー " + cache +
                            " を作れません: ディレクトリではありません。単一起動の見張りなしで"
                            "動くため、後から起動すると別のプレーヤーが開きます。\n");
    EXPECT_EQ(english, "korvel: Cannot create the folder " + cache +
                           " for Korvel's runtime files: Not a directory; Korvel runs "
                           "without its single-instance guard, so a later start opens a "
                           "player of its own.\n");
}

// Fault: a relative path is handed over as is and resolved in the running instance's
// working folder, opening the wrong file or none; also when no such file is here, where the
// player's folder may hold one of that name. Without a working folder it is refused.
TEST(Launcher, MakesRelativePathsAbsolute) {
    QTemporaryDir folder;
    QFile(folder.path() + "/my clip.avi").open(QIODevice::WriteOnly);
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    const std::string here = QDir(folder.path()).canonicalPath().toStdString();
    const std::string absolute = here + "/my clip.avi";
    const std::pair<std::string, std::string> cases[] = {{"my clip.avi", absolute},
                                                         {"./my clip.avi", absolute},
                                                         {"missing.avi", here + "/missing.avi"},
                                                         {"/srv/a.rm", "/srv/a.rm"},
                                                         {"http://host/a.rm", "http://host/a.rm"},
                                                         {"", ""}};
    for (const auto& [argument, expected] : cases) {
        EXPECT_EQ(Launcher::handOffText(argument), expected) << argument;
    }
    ASSERT_TRUE(QDir(folder.path()).removeRecursively());
    EXPECT_THROW(Launcher::handOffText("clip.avi"), std::runtime_error);
    EXPECT_EQ(Launcher::handOffText("/srv/a.rm"), "/srv/a.rm");
    QDir::setCurrent(previous);
}

// Fault: the real launcher does not hand over, or reports failure on success.
TEST(KorvelProgram, HandsOverAsALaterStart) {
    if (!QFileInfo::exists(korvelProgram())) {
        GTEST_SKIP() << "the korvel program is not built";
    }
    TestRuntime runtime;
    ReceiverProbe receiver(runtime.out());
    ASSERT_TRUE(receiver.waitListening());
    ChildProcess korvel;
    korvel.start(korvelProgram(), {"/srv/clip.rm", "ignored"});
    EXPECT_EQ(finish(korvel).exitCode, 0);
    EXPECT_EQ(receivedTexts(runtime.out()), QStringList{"/srv/clip.rm"});
}

// Runs the real program with one argument given as bytes, which QProcess would re-encode:
// the shell writes them from escapes.
Finished runKorvelWithBytes(const QByteArray& argument, const QString& folder = {}) {
    QString escaped;
    for (const char byte : argument) {
        escaped += QString::asprintf("\\x%02x", unsigned(quint8(byte)));
    }
    ChildProcess korvel;
    if (!folder.isEmpty()) {
        korvel.setWorkingDirectory(folder);
    }
    korvel.start("bash", {"-c", "exec \"$0\" \"$(printf '" + escaped + "')\"", korvelProgram()});
    return finish(korvel);
}

// Fault: a file name that is not UTF-8 reaches the running player with its bytes changed,
// also when it is made absolute.
TEST(KorvelProgram, HandsOverTheBytesOfANameAsTheyAre) {
    if (!QFileInfo::exists(korvelProgram())) {
        GTEST_SKIP() << "the korvel program is not built";
    }
    TestRuntime runtime;
    QTemporaryDir folder;
    const QByteArray local = "caf\xe9 \x83\x65.avi";
    const QByteArray absolute =
        QFile::encodeName(QDir(folder.path()).canonicalPath()) + "/" + local;
    const int fd = ::open(absolute.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ReceiverProbe receiver(runtime.out());
    ASSERT_TRUE(receiver.waitListening());
    EXPECT_EQ(runKorvelWithBytes("/srv/caf\xe9.avi").exitCode, 0);
    EXPECT_EQ(runKorvelWithBytes(local, folder.path()).exitCode, 0);
    EXPECT_EQ(receivedBytes(runtime.out()), (QByteArrayList{"/srv/caf\xe9.avi", absolute}));
}

// Fault: --help or --version reach the running player, or fail; an option-like clip name is
// taken as an option, or a clip given as ./--help is not handed over.
TEST(KorvelProgram, AnswersHelpAndVersionAndHandsEverythingElseOver) {
    if (!QFileInfo::exists(korvelProgram())) {
        GTEST_SKIP() << "the korvel program is not built";
    }
    TestRuntime runtime;
    ReceiverProbe receiver(runtime.out());
    ASSERT_TRUE(receiver.waitListening());
    auto run = [](const QStringList& arguments) {
        ChildProcess korvel;
        korvel.start(korvelProgram(), arguments);
        return finish(korvel);
    };
    const Finished help = run({"--help", "clip.avi"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: korvel [CLIP]\n")) << help.out.toStdString();
    EXPECT_TRUE(help.err.isEmpty());
    const Finished version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    // The version is the project's own.
    QFile project(KORVEL_SOURCE_DIR "/CMakeLists.txt");
    ASSERT_TRUE(project.open(QIODevice::ReadOnly));
    const QRegularExpression declared(R"(project\(Korvel VERSION ([0-9.]+))");
    const QString number = declared.match(QString::fromUtf8(project.readAll())).captured(1);
    ASSERT_FALSE(number.isEmpty());
    EXPECT_EQ(version.out, "korvel " + number.toUtf8() + "\n");
    EXPECT_TRUE(receivedTexts(runtime.out()).isEmpty());

    const QStringList clips{"./--help", "-reverse", "--", "-style=fusion"};
    QStringList handedOver;
    for (const QString& clip : clips) {
        EXPECT_EQ(run({clip, "--version"}).exitCode, 0) << clip.toStdString();
        // A later start names the file of its own folder.
        handedOver << QDir::currentPath() + "/" + (clip.startsWith("./") ? clip.mid(2) : clip);
    }
    EXPECT_EQ(receivedTexts(runtime.out()), handedOver);
}

// Fault: --export-skins is handed to the running player as a clip, writes over a skin the user
// made, or fails without saying why.
TEST(KorvelProgram, ExportsTheBuiltInSkinsAndWritesNothingOver) {
    if (!QFileInfo::exists(korvelProgram())) {
        GTEST_SKIP() << "the korvel program is not built";
    }
    TestRuntime runtime;
    ReceiverProbe receiver(runtime.out());
    ASSERT_TRUE(receiver.waitListening());
    QTemporaryDir folder;
    const QString skins = folder.filePath("my skin");
    auto run = [](const QStringList& arguments) {
        ChildProcess korvel;
        korvel.start(korvelProgram(), arguments);
        return finish(korvel);
    };
    const Finished written = run({"--export-skins", skins});
    EXPECT_EQ(written.exitCode, 0) << written.err.toStdString();
    EXPECT_TRUE(QFileInfo(skins + "/Skin.ini").isFile());
    EXPECT_TRUE(QFileInfo(skins + "/TrackBar.BMP").isFile());
    QFile::remove(skins + "/TrackBar.BMP");
    const Finished again = run({"--export-skins", skins});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains("Skin.ini is there already")) << again.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(skins + "/TrackBar.BMP")) << "nothing is written";
    const Finished bare = run({"--export-skins"});
    EXPECT_EQ(bare.exitCode, 1);
    EXPECT_TRUE(bare.err.contains("needs the folder")) << bare.err.toStdString();
    EXPECT_TRUE(receivedTexts(runtime.out()).isEmpty());
}

// Fault: the first instance loads a GUI library from elsewhere than beside the program
// (library path, working folder), or a load failure goes unreported.
TEST(KorvelProgram, LoadsTheGuiFromBesideItselfAsFirstInstance) {
    if (!QFileInfo::exists(korvelProgram())) {
        GTEST_SKIP() << "the korvel program is not built";
    }
    TestRuntime runtime;
    QTemporaryDir alone;
    ASSERT_TRUE(QFile::copy(korvelProgram(), alone.path() + "/korvel"));
    const ScopedEnv libraryPath("LD_LIBRARY_PATH", QByteArray(KORVEL_BINARY_DIR));
    ChildProcess korvel;
    korvel.setWorkingDirectory(KORVEL_BINARY_DIR);
    korvel.start(alone.path() + "/korvel", {"clip.avi"});
    const Finished result = finish(korvel);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains((alone.path() + "/libkorvel_gui.so").toUtf8()))
        << result.err.toStdString();
}

// Fault: an installed launcher (bin/ beside lib/korvel/) does not find its GUI library, the
// build folder's copy beside the launcher loses to another, or a missing library is not
// reported with both places looked at.
TEST(Launcher, FindsTheGuiLibraryBesideItselfThenInLibKorvel) {
    QTemporaryDir prefix;
    const QString root = prefix.path();
    ASSERT_TRUE(QDir(root).mkpath("bin") && QDir(root).mkpath("lib/korvel"));
    const std::string launcher = (root + "/bin/korvel").toStdString();
    const auto touch = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly);
    };

    try {
        Launcher::guiLibraryFor(launcher);
        ADD_FAILURE() << "no library anywhere, yet one was found";
    } catch (const std::runtime_error& failure) {
        const std::string text = failure.what();
        EXPECT_NE(text.find(root.toStdString() + "/bin/libkorvel_gui.so"), std::string::npos)
            << text;
        EXPECT_NE(text.find(root.toStdString() + "/lib/korvel/libkorvel_gui.so"), std::string::npos)
            << text;
    }

    ASSERT_TRUE(touch(root + "/lib/korvel/libkorvel_gui.so"));
    EXPECT_EQ(Launcher::guiLibraryFor(launcher),
              root.toStdString() + "/lib/korvel/libkorvel_gui.so");
    ASSERT_TRUE(touch(root + "/bin/libkorvel_gui.so"));
    EXPECT_EQ(Launcher::guiLibraryFor(launcher), root.toStdString() + "/bin/libkorvel_gui.so");
}

} // namespace
