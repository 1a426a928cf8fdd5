#pragma once

#include "base/FixedTexts.h"

#include <QApplication>
#include <QIcon>

namespace korvel {

// The application object. A failure that escapes an event handler ends that handler and
// is shown in the error box; the event loop goes on.
class KorvelApplication : public QApplication {
    Q_OBJECT

public:
    // The application title: the text of the program's one task-bar entry, which the
    // player panel carries, and the caption of the error box.
    static inline const QString& Title = FixedTexts::ApplicationTitle;

    KorvelApplication(int& argc, char** argv);

    // The program's icon in every size the install puts in the icon theme.
    static QIcon programIcon();

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace korvel
