#pragma once

#include <QString>
#include <QWidget>

namespace korvel {

// The playback window: a resizable tool window that will hold the picture and owns the
// playback state. It is the application's main window: closing it ends the program.
class TForm3 : public QWidget {
    Q_OBJECT

public:
    static inline const QString Caption = QStringLiteral("Korvel mark2");
    static constexpr QSize InitialClientSize{322, 242};

    // `argument` is the first command-line argument, empty when there is none.
    explicit TForm3(const QString& argument = QString());

    // A second start handed over its argument: come to the front and take it.
    void ReceiveHandOff(const QString& text);

    // The last text a second start handed over, until playback takes it.
    const QString& pendingHandOff() const { return m_pendingHandOff; }
    const QString& commandLineArgument() const { return m_argument; }

signals:
    void handOffReceived(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void placeOnScreen();

    QString m_argument;
    QString m_pendingHandOff;
};

} // namespace korvel
