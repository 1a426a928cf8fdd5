#include "ui/ErrorBox.h"

#include "base/KorvelError.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPointer>

#include <exception>

namespace korvel {

namespace {

Q_LOGGING_CATEGORY(lcUi, "korvel.ui", QtWarningMsg)

ErrorBox::Sink& sink() {
    static ErrorBox::Sink instance;
    return instance;
}

// The boxes open now, innermost last (a box's loop may run a handler that shows another).
QList<QPointer<QMessageBox>>& openBoxes() {
    static QList<QPointer<QMessageBox>> boxes;
    return boxes;
}

bool& waitingStopped() {
    static bool stopped = false;
    return stopped;
}

} // namespace

QString ErrorBox::withFullStop(const QString& text) {
    // The stop of the language shown; a sentence that has it already keeps the one it has.
    const QString stop = FixedTexts::FullStop;
    if (!text.isEmpty() && text.back() > u'.' && !text.endsWith(stop)) return text + stop;
    return text;
}

void ErrorBox::show(const QString& text) {
    const QString shown = withFullStop(text);
    // What the box says, for whoever follows the program's log (a box cannot be read back).
    qCDebug(lcUi).noquote() << "error box:" << shown;
    if (sink()) {
        sink()(shown);
        return;
    }
    if (waitingStopped()) {
        qCWarning(lcUi).noquote() << shown;
        return;
    }
    QMessageBox box(QMessageBox::Critical, Title, shown, QMessageBox::Ok,
                    QApplication::activeWindow());
    openBoxes().append(&box);
    box.exec();
    openBoxes().removeAll(&box);
}

void ErrorBox::stopWaiting() {
    waitingStopped() = true;
    for (const QPointer<QMessageBox>& box : std::as_const(openBoxes())) {
        if (box) box->reject();
    }
}

void ErrorBox::run(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const KorvelError& error) {
        show(error.text());
    } catch (const std::exception& error) {
        show(QString::fromLocal8Bit(error.what()));
    }
}

void ErrorBox::setSink(Sink newSink) { sink() = std::move(newSink); }

} // namespace korvel
