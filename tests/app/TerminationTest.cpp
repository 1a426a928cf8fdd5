#include "AppTestSupport.h"

#include <QFileInfo>

#include <csignal>

using namespace korvel::test;

namespace {

// Fault: a termination signal kills the player mid-way: it leaves its hand-off socket
// behind and skips what closing does.
TEST(KorvelProgram, TerminationSignalClosesThePlayerNormally) {
    if (!QFileInfo::exists(korvelProgram())) {
        GTEST_SKIP() << "the korvel program is not built";
    }
    TestRuntime runtime;
    const ScopedEnv platform("QT_QPA_PLATFORM", QByteArray("offscreen"));
    ChildProcess korvel;
    korvel.start(korvelProgram(), {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(runtime.endpointFile()); }, 10000));
    ::kill(pid_t(korvel.processId()), SIGTERM);
    const Finished result = finish(korvel);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(runtime.endpointFile()));
}

} // namespace
