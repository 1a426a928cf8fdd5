#include "../AppTestSupport.h"

#include "app/launcher/InstanceGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace korvel;
using namespace korvel::test;

namespace {

// Fault: two instances both believe they are the first.
TEST(InstanceGuard, OneHolderAtATime) {
    TestRuntime runtime;
    InstanceGuard first(runtime.dir().guardPath());
    InstanceGuard second(runtime.dir().guardPath());
    EXPECT_TRUE(first.tryAcquire());
    EXPECT_TRUE(first.tryAcquire()); // holding it already
    EXPECT_FALSE(second.tryAcquire());
    EXPECT_FALSE(second.held());
    first.release();
    EXPECT_TRUE(second.tryAcquire());
}

// Fault: the guard of a crashed instance is never freed, so no instance can start again.
TEST(InstanceGuard, FreedWhenTheHolderIsKilled) {
    TestRuntime runtime;
    ReceiverProbe holder(runtime.out());
    ASSERT_TRUE(holder.waitListening());
    InstanceGuard next(runtime.dir().guardPath());
    EXPECT_FALSE(next.tryAcquire());
    holder.kill();
    ASSERT_TRUE(holder.waitForFinished());
    EXPECT_TRUE(next.tryAcquire());
}

// Fault: a program the player started inherits the guard and keeps it after the player ended.
TEST(InstanceGuard, NotInheritedByStartedPrograms) {
    TestRuntime runtime;
    auto player = std::make_unique<InstanceGuard>(runtime.dir().guardPath());
    ASSERT_TRUE(player->tryAcquire());
    ChildProcess helper;
    helper.start("sleep", {"30"});
    ASSERT_TRUE(helper.waitForStarted());
    player.reset();
    EXPECT_TRUE(InstanceGuard(runtime.dir().guardPath()).tryAcquire());
}

// Fault: a guard that cannot be used at all passes for "another instance is running".
TEST(InstanceGuard, ReportsAnUnusableLockFile) {
    TestRuntime runtime;
    InstanceGuard guard((runtime.path() + "/missing/Korvel2.lock").toStdString());
    EXPECT_THROW(guard.tryAcquire(), std::runtime_error);
}

} // namespace
