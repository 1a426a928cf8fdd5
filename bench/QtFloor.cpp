// The Qt floor: what any Qt 6 Widgets program pays to show one frameless window of the
// panel's size and to sit idle with it. Korvel's first window and idle memory are judged
// beside it, in the same run.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.resize(273, 116);
    window.setWindowTitle(QStringLiteral("Qt floor"));
    window.show();
    return app.exec();
}
