// A stand-in for the player in hand-off tests, run as a real process.
//
//   handoff_probe serve <outDir> [handlerSleepMs]
//       Takes the guard (exit 3 if held) and receives hand-offs at the runtime directory's
//       endpoint. Each text is written, as the bytes it came as, to <outDir>/<n>.txt
//       (n = 1, 2, ...) when the handler ends, after the optional sleep. The text "/throw" makes
//       the handler fail; the failure is written to <outDir>/errors.txt by the application, as the
//       player shows it. The text "/quit" ends the probe; it also ends after 30 s. Prints
//       "listening" once ready.
//   handoff_probe launch <patienceMs> [argument]
//       Runs the launcher's decision (without an argument: a start given no clip); as first
//       instance it prints "first <endpoint>" (an empty endpoint without a runtime folder) and
//       exits 7 instead of starting a GUI.

#include "app/HandOffServer.h"
#include "app/launcher/InstanceGuard.h"
#include "app/launcher/Launcher.h"
#include "app/launcher/LauncherText.h"
#include "app/launcher/RuntimeDir.h"
#include "base/KorvelError.h"
#include "base/PathBytes.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QThread>
#include <QTimer>

#include <iostream>
#include <optional>
#include <string>

namespace {

QString g_outDir;

void writeFile(const QString& name, const QByteArray& bytes, QIODevice::OpenMode mode) {
    QFile file(g_outDir + "/" + name);
    if (!file.open(mode) || file.write(bytes) != bytes.size()) {
        std::cerr << "handoff_probe: cannot write " << name.toStdString() << '\n';
    }
}

// The whole file appears at once, so a test never reads half of it.
void writeWhole(const QString& name, const QByteArray& bytes) {
    QSaveFile file(g_outDir + "/" + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::cerr << "handoff_probe: cannot write " << name.toStdString() << '\n';
    }
}

// Shows failures of event handlers the way the player's application object does.
class ProbeApplication : public QCoreApplication {
public:
    using QCoreApplication::QCoreApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QCoreApplication::notify(receiver, event);
        } catch (const korvel::KorvelError& error) {
            writeFile("errors.txt", error.text().toUtf8() + '\n',
                      QIODevice::WriteOnly | QIODevice::Append);
            return true;
        }
    }
};

int serve(int handlerSleepMs) {
    const korvel::RuntimeDir dir = korvel::RuntimeDir::locate();
    korvel::InstanceGuard guard(dir.guardPath());
    if (!guard.tryAcquire()) {
        return 3;
    }
    int received = 0;
    korvel::HandOffServer server(
        QString::fromStdString(dir.endpointPath()), [&](const QString& text) {
            QThread::msleep(static_cast<unsigned long>(handlerSleepMs));
            if (text == "/throw") {
                throw korvel::KorvelError("probe failure");
            }
            writeWhole(QString::number(++received) + ".txt", korvel::PathBytes::toBytes(text));
            if (text == "/quit") {
                QCoreApplication::quit();
            }
        });
    server.listen();
    QTimer::singleShot(30000, qApp, &QCoreApplication::quit);
    std::cout << "listening" << std::endl;
    return QCoreApplication::exec();
}

int launch(int patienceMs, const std::optional<std::string>& argument) {
    korvel::LauncherText::setLanguage(korvel::HelpText::language(::getenv));
    korvel::LaunchTiming timing;
    timing.patience = std::chrono::milliseconds(patienceMs);
    const auto tell = [](const std::string& text) { std::cerr << text; };
    korvel::Launcher launcher(
        korvel::Launcher::locateDir(tell),
        [](const std::string& endpoint) {
            std::cout << "first " << endpoint << std::endl;
            return 7;
        },
        tell, timing);
    return launcher.run(argument);
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    try {
        if (mode == "serve" && argc > 2) {
            ProbeApplication app(argc, argv);
            g_outDir = QString::fromLocal8Bit(argv[2]);
            return serve(argc > 3 ? std::stoi(argv[3]) : 0);
        }
        if (mode == "launch" && argc > 2) {
            return launch(std::stoi(argv[2]),
                          argc > 3 ? std::optional<std::string>(argv[3]) : std::nullopt);
        }
    } catch (const std::exception& error) {
        std::cerr << "handoff_probe: " << error.what() << '\n';
        return 2;
    }
    std::cerr << "usage: handoff_probe serve <outDir> [sleepMs] | launch <patienceMs> [arg]\n";
    return 2;
}
