#pragma once

#include "app/launcher/RuntimeDir.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

namespace korvel::test {

// Sets (or, with no value, unsets) an environment variable until the end of the scope.
class ScopedEnv {
public:
    explicit ScopedEnv(const char* name, const QByteArray* value = nullptr)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        if (value != nullptr) {
            qputenv(name, *value);
        } else {
            qunsetenv(name);
        }
    }
    ScopedEnv(const char* name, const QByteArray& value) : ScopedEnv(name, &value) {}
    ~ScopedEnv() {
        if (m_had) {
            qputenv(m_name, m_old);
        } else {
            qunsetenv(m_name);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

// A fresh private $XDG_RUNTIME_DIR (mode 0700), inherited by the processes a test starts, so
// tests never meet the user's real instance. out() is a folder for a receiver's files.
class TestRuntime {
public:
    TestRuntime() { QDir(m_dir.path()).mkdir("out"); }
    QString path() const { return m_dir.path(); }
    QString out() const { return m_dir.path() + "/out"; }
    RuntimeDir dir() const { return RuntimeDir::locate(); }
    std::string endpoint() const { return dir().endpointPath(); }
    QString endpointFile() const { return QString::fromStdString(endpoint()); }

private:
    QTemporaryDir m_dir;
    ScopedEnv m_env{"XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit()};
};

inline QString korvelProgram() { return QStringLiteral(KORVEL_BINARY_DIR "/korvel"); }

inline QString probeProgram() { return QStringLiteral(KORVEL_BINARY_DIR "/handoff_probe"); }

// The texts a receiver probe has handled, in order, as the bytes they came as.
inline QByteArrayList receivedBytes(const QString& outDir) {
    QByteArrayList texts;
    for (int n = 1;; ++n) {
        QFile file(outDir + "/" + QString::number(n) + ".txt");
        if (!file.open(QIODevice::ReadOnly)) {
            return texts;
        }
        texts << file.readAll();
    }
}

inline QStringList receivedTexts(const QString& outDir) {
    QStringList texts;
    for (const QByteArray& bytes : receivedBytes(outDir)) {
        texts << QString::fromUtf8(bytes);
    }
    return texts;
}

// A process killed at the end of the test should it still run.
class ChildProcess : public QProcess {
public:
    ~ChildProcess() override {
        if (state() != QProcess::NotRunning) {
            kill();
            waitForFinished();
        }
    }
};

// A receiver probe (tests/support/HandOffProbe.cpp) holding the guard of the test runtime.
class ReceiverProbe : public ChildProcess {
public:
    explicit ReceiverProbe(const QString& outDir, int handlerSleepMs = 0) {
        start(probeProgram(), {"serve", outDir, QString::number(handlerSleepMs)});
    }
    bool waitListening() {
        while (!canReadLine() && waitForReadyRead(5000)) {
        }
        return readLine().trimmed() == "listening";
    }
};

// Starts the probe's launcher: the launcher's own code, with a stand-in for the GUI that
// prints "first <endpoint>" and exits 7.
inline void startLauncher(QProcess& process, const QString& argument, int patienceMs = 3000) {
    process.start(probeProgram(), {"launch", QString::number(patienceMs), argument});
}

// As startLauncher(), for a start given no clip at all.
inline void startLauncherWithoutClip(QProcess& process, int patienceMs = 3000) {
    process.start(probeProgram(), {"launch", QString::number(patienceMs)});
}

struct Finished {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline Finished finish(QProcess& process, int timeoutMs = 10000) {
    const bool ended =
        QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, timeoutMs);
    return {ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// Runs `work` on another thread while this one keeps serving events, and returns its result.
template <class Work>
auto whileServing(Work work) {
    auto pending = std::async(std::launch::async, std::move(work));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return pending.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        10000));
    return pending.get();
}

} // namespace korvel::test
