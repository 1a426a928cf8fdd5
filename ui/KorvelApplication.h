#pragma once

#include <QApplication>

namespace korvel {

// The application object. A failure that escapes an event handler ends that handler and
// is shown in the error box; the event loop goes on.
class KorvelApplication : public QApplication {
    Q_OBJECT

public:
    KorvelApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace korvel
