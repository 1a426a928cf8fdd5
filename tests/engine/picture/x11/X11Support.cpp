#include "X11Support.h"

#include <QProcess>

namespace korvel::test {

namespace {

bool runs(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

bool windowManagerRuns() { return runs(QStringLiteral("wmctrl"), {QStringLiteral("-m")}); }

bool xdotool(const QStringList& arguments) { return runs(QStringLiteral("xdotool"), arguments); }

} // namespace korvel::test
