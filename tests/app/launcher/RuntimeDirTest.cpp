#include "../AppTestSupport.h"

#include "app/launcher/RuntimeDir.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include <sys/stat.h>
#include <unistd.h>

using namespace korvel;
using namespace korvel::test;

namespace {

mode_t modeOf(const QString& path) {
    struct stat info {};
    return ::lstat(path.toLocal8Bit().constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

void makeDir(const QString& path, mode_t mode) {
    ASSERT_TRUE(QDir().mkpath(path));
    ASSERT_EQ(::chmod(path.toLocal8Bit().constData(), mode), 0);
}

// A clean environment: the runtime directory and the cache folder under a temporary home.
class RuntimeDirTest : public ::testing::Test {
protected:
    QString fallback() const { return home.path() + "/cache/korvel-runtime"; }

    QTemporaryDir home;
    ScopedEnv runtimeEnv{"XDG_RUNTIME_DIR"};
    ScopedEnv cacheEnv{"XDG_CACHE_HOME", (home.path() + "/cache").toLocal8Bit()};
    ScopedEnv homeEnv{"HOME", home.path().toLocal8Bit()};
};

// Fault: the guard or the endpoint ends up outside the user's runtime directory.
TEST_F(RuntimeDirTest, UsesAPrivateXdgRuntimeDir) {
    const QString runtime = home.path() + "/run";
    makeDir(runtime, 0700);
    const ScopedEnv env("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    const RuntimeDir dir = RuntimeDir::locate();
    EXPECT_EQ(dir.path(), runtime.toStdString());
    EXPECT_EQ(dir.guardPath(), runtime.toStdString() + "/Korvel2.lock");
    EXPECT_EQ(dir.endpointPath(), runtime.toStdString() + "/Korvel2.TForm3");
}

// Fault: an unusable or shared $XDG_RUNTIME_DIR is trusted, or the fallback is not private.
TEST_F(RuntimeDirTest, FallsBackToAPrivateCacheFolder) {
    makeDir(home.path() + "/shared", 0755);
    QFile(home.path() + "/plain").open(QIODevice::WriteOnly);
    const QByteArray unusable[] = {"", "run/user/0", (home.path() + "/plain/run").toLocal8Bit(),
                                   (home.path() + "/plain").toLocal8Bit(),
                                   (home.path() + "/shared").toLocal8Bit()};
    for (const QByteArray& value : unusable) {
        const ScopedEnv env("XDG_RUNTIME_DIR", value);
        EXPECT_EQ(RuntimeDir::locate().path(), fallback().toStdString()) << value.constData();
        EXPECT_EQ(modeOf(fallback()), 0700u);
    }
}

// Fault: a missing $XDG_RUNTIME_DIR sent the first start to the cache folder; once something
// else had made it, the next start met no guard there and became a second player.
TEST_F(RuntimeDirTest, MakesAMissingXdgRuntimeDirPrivate) {
    const QString runtime = home.path() + "/run/user/1000";
    const ScopedEnv env("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    EXPECT_EQ(RuntimeDir::locate().path(), runtime.toStdString());
    EXPECT_EQ(modeOf(runtime), 0700u);
    EXPECT_EQ(modeOf(home.path() + "/run"), 0700u);
    EXPECT_EQ(RuntimeDir::locate().path(), runtime.toStdString());
}

// Fault: a fallback folder that others may read or write is used as it is.
TEST_F(RuntimeDirTest, TightensTheFallbackFolder) {
    makeDir(fallback(), 0777);
    EXPECT_EQ(RuntimeDir::locate().path(), fallback().toStdString());
    EXPECT_EQ(modeOf(fallback()), 0700u);
}

// Fault: with no cache folder set, the files land somewhere shared.
TEST_F(RuntimeDirTest, UsesTheHomeCacheWithoutXdgCacheHome) {
    const ScopedEnv noCache("XDG_CACHE_HOME");
    EXPECT_EQ(RuntimeDir::locate().path(), (home.path() + "/.cache/korvel-runtime").toStdString());
}

// Fault: a fallback that is a link, or another user's folder, is trusted.
TEST_F(RuntimeDirTest, RefusesAFallbackItCannotTrust) {
    makeDir(home.path() + "/elsewhere", 0700);
    makeDir(home.path() + "/cache", 0700);
    ASSERT_EQ(::symlink((home.path() + "/elsewhere").toLocal8Bit().constData(),
                        fallback().toLocal8Bit().constData()),
              0);
    EXPECT_THROW(RuntimeDir::locate(), std::runtime_error);
    if (::geteuid() == 0) {
        ASSERT_TRUE(QFile::remove(fallback()));
        makeDir(fallback(), 0700);
        ASSERT_EQ(::chown(fallback().toLocal8Bit().constData(), 65534, 65534), 0);
        EXPECT_THROW(RuntimeDir::locate(), std::runtime_error);
    }
}

// Fault: a folder path too long for a socket address fails later, obscurely.
TEST_F(RuntimeDirTest, RefusesAPathTooLongForTheSocket) {
    const QString deep = home.path() + "/" + QString(100, 'd');
    makeDir(deep, 0700);
    const ScopedEnv env("XDG_RUNTIME_DIR", deep.toLocal8Bit());
    EXPECT_THROW(RuntimeDir::locate(), std::runtime_error);
}

} // namespace
