#include "../support/ScratchFile.h"
#include "PlayListWindowFixture.h"
#include "base/KorvelError.h"
#include "playlist/LastFolder.h"
#include "ui/ErrorBox.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>

using namespace korvel;
using korvel::test::Col;
using korvel::test::ErrorCapture;
using korvel::test::PlayListWindow;

namespace {

// Drops local files on a widget as a file manager would; the event finds its way to the
// widget that takes drops.
// The drop event alone, as the window system delivers it.
void sendDrop(QWidget* target, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

// The drop and what the window does once it has ended.
void dropOn(QWidget* target, const QStringList& paths) {
    sendDrop(target, paths);
    QCoreApplication::processEvents();
}

} // namespace

// Fault: a file dropped on URL rewrote the current entry's location as text. A drop anywhere
// on the window joins the list, which is then sorted, with row 1 current.
TEST_F(PlayListWindow, DropOnAFieldJoinsTheList) {
    addEntries({"/clips/z.avi"});
    clickRow(1);
    dropOn(form.URL(), {"/clips/b.MP4", "/clips/notes.txt", "/clips/a.rm"});
    EXPECT_EQ(list().cell(Col::LocationColumn, 1), "/clips/a.rm");
    EXPECT_EQ(list().cell(Col::LocationColumn, 2), "/clips/b.MP4");
    EXPECT_EQ(list().cell(Col::LocationColumn, 3), "/clips/z.avi");
    EXPECT_EQ(list().entryCount(), 3);
    EXPECT_EQ(list().currentRow(), 1);
    EXPECT_EQ(form.URL()->text(), "/clips/a.rm");
    EXPECT_TRUE(errors.texts.isEmpty()) << errors.texts.join("; ").toStdString();
}

// Fault: an error box raised by a drop ran inside the drop, and the program that dragged
// waited for it (one gave up after 10 s). The drop ends first; the files are taken and the
// box shown after.
TEST_F(PlayListWindow, DropEndsBeforeItsErrorBox) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.ram");
    sendDrop(&form, {missing, "/clips/a.rm"});
    EXPECT_TRUE(errors.texts.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(list().entryCount(), 1);
    EXPECT_EQ(errors.texts, QStringList({"Cannot read the playlist " + missing +
                                         ": No such file or directory."}));
}

// RAM asks for a name with its dialog (driven here by keys), appends ".ram" to a name
// without one, writes the locations with CR LF, and offers the name again next time.
TEST_F(PlayListWindow, RamSavesTheListByTheDialog) {
    addEntries({"/clips/a.avi", QString::fromUtf8("/clips/日本.rm")});
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString offered;
    auto answer = [&](const QString& typed) {
        QTimer::singleShot(0, [&, typed] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            offered = name->text();
            if (typed.isEmpty()) {
                QTest::keyClick(dialog, Qt::Key_Escape);
                return;
            }
            // Typed whole: key by key, the name's completer takes the keyboard offscreen.
            name->setText(typed);
            QTest::keyClick(name, Qt::Key_Return);
        });
        form.SkinForm1MouseUpNotify(QStringLiteral("RAM"), Qt::LeftButton, {}, 1, 1);
    };
    answer(dir.filePath("list"));
    QFile saved(dir.filePath("list.ram"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QString::fromUtf8("/clips/a.avi\r\n/clips/日本.rm\r\n").toUtf8());
    saved.close();
    answer(QString());
    EXPECT_EQ(offered, "list.ram");
    EXPECT_TRUE(errors.texts.isEmpty()) << errors.texts.join("; ").toStdString();
}

// Lists other players wrote, dropped on the window, join the list with what it held; their relative
// names are in the lists' own folder.
TEST_F(PlayListWindow, ListsOfOtherPlayersDroppedJoin) {
    addEntries({"/clips/z.avi"});
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto write = [&dir](const char* name, const QByteArray& bytes) {
        return korvel::test::scratchFile(dir, name, bytes);
    };
    const QStringList lists{
        write("a.m3u", "#EXTM3U\r\n#EXTINF:10,One\r\n1.mp3\r\n"),
        write("b.m3u8", "#EXTM3U\n#EXTINF:-1,日本\n/clips/日本.ogg\n"),
        write("c.pls", "[playlist]\nFile1=http://radio.example/live\nNumberOfEntries=1\n"),
        write("d.xspf", "<?xml version='1.0'?><playlist version='1' xmlns='http://xspf.org/ns/0/'>"
                        "<trackList><track><location>file:///clips/x%20y.flac</location>"
                        "</track></trackList></playlist>")};
    dropOn(&form, lists);
    EXPECT_TRUE(errors.texts.isEmpty()) << errors.texts.join("; ").toStdString();
    QStringList shown;
    for (int row = 1; row <= list().entryCount(); ++row)
        shown << list().cell(Col::LocationColumn, row);
    QStringList expected{dir.filePath("1.mp3"), "/clips/x y.flac", "/clips/z.avi",
                         QString::fromUtf8("/clips/日本.ogg"), "http://radio.example/live"};
    // The order is the sort's, tested with the drop; here, that all of them are there.
    std::sort(shown.begin(), shown.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(list().currentRow(), 1);
}

// The RAM dialog also offers M3U8 lists: with that kind chosen, a name without an extension
// is saved as an M3U8 list.
TEST_F(PlayListWindow, RamDialogSavesAnM3u8List) {
    addEntries({"/clips/a.avi"});
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath("lists"));
    // The dialog opens in the folder the file dialogs used last, and remembers the new one.
    LastFolder last;
    last.restore(dir.path());
    form.setLastFolder(&last);
    QStringList filters;
    QString opened;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        opened = dialog->directory().absolutePath();
        dialog->selectNameFilter(QStringLiteral("M3U8 lists (*.m3u8)"));
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(dir.filePath("lists/mix"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    form.SkinForm1MouseUpNotify(QStringLiteral("RAM"), Qt::LeftButton, {}, 1, 1);
    form.setLastFolder(nullptr);
    EXPECT_EQ(filters, QStringList({"RAM files (*.ram)", "M3U8 lists (*.m3u8)", "All files (*)"}));
    EXPECT_EQ(opened, dir.path());
    EXPECT_EQ(last.stored(), dir.filePath("lists"));
    QFile saved(dir.filePath("lists/mix.m3u8"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("#EXTM3U\n#EXTINF:-1,a.avi\n/clips/a.avi\n"));
    EXPECT_TRUE(errors.texts.isEmpty()) << errors.texts.join("; ").toStdString();
}
