#include "AppTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>

using namespace korvel::test;

namespace {

// Fault: a termination signal kills the player mid-way: it leaves its hand-off socket
// behind and skips what closing does. Or, while an error box of the start-up is open (here:
// a folder where the settings file belongs), it waits for the box to be answered.
TEST(KorvelProgram, TerminationSignalClosesThePlayerNormally) {
    if (!QFileInfo::exists(korvelProgram())) {
        GTEST_SKIP() << "the korvel program is not built";
    }
    for (const bool startUpBox : {false, true}) {
        TestRuntime runtime;
        QTemporaryDir config;
        ASSERT_TRUE(config.isValid());
        if (startUpBox) {
            ASSERT_TRUE(QDir(config.path()).mkpath("korvel/korvel.ini"));
        }
        const ScopedEnv configHome("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        const ScopedEnv platform("QT_QPA_PLATFORM", QByteArray("offscreen"));
        const ScopedEnv logging("QT_LOGGING_RULES", QByteArray("korvel.ui.debug=true"));
        ChildProcess korvel;
        korvel.start(korvelProgram(), {});
        QByteArray err;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                err += korvel.readAllStandardError();
                return startUpBox ? err.contains("error box: ")
                                  : QFileInfo::exists(runtime.endpointFile());
            },
            10000))
            << startUpBox;
        ::kill(pid_t(korvel.processId()), SIGTERM);
        const Finished result = finish(korvel);
        EXPECT_EQ(result.exitCode, 0) << startUpBox << (err + result.err).toStdString();
        EXPECT_FALSE(QFileInfo::exists(runtime.endpointFile())) << startUpBox;
    }
}

} // namespace
