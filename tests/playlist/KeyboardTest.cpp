// The skinned windows driven by the keyboard alone.

#include "playlist/PlayList.h"
#include "playlist/PlayListGrid.h"
#include "skin/SkinForm.h"
#include "skin/SkinModel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

using namespace korvel;

namespace {

// What has the keyboard in the playlist window: the name of the face's element, or of the
// grid or field that holds the focus.
QString focusName(TForm2& list) {
    if (const auto& element = list.SkinForm1()->focusedElement()) {
        return list.SkinForm1()->engine().model().HotAreas[std::size_t(element->index)].ID;
    }
    for (const QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (w->parentWidget() == &list) return w->objectName();
    }
    return QString();
}

class ListKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    // Keys go where the keyboard is, as the window system sends them.
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* to = QApplication::focusWidget();
        QTest::keyClick(to ? to : &form, k, modifiers);
    }
    // Tabs until `name` has the keyboard; false when a whole round never reaches it.
    bool tabTo(const QString& name) {
        for (int i = 0; i < 30 && focusName(form) != name; ++i) key(Qt::Key_Tab);
        return focusName(form) == name;
    }
    QString locations() {
        QStringList texts;
        for (int row = 1; row <= form.model().entryCount(); ++row) {
            texts << form.model().cell(PlayListModel::LocationColumn, row);
        }
        return texts.join(u' ');
    }
    TForm2 form;
};

} // namespace

// Fault: Tab reached only the grid and the three fields; every button needed the pointer.
TEST_F(ListKeyboard, TabWalksEveryButtonAndFieldInReadingOrder) {
    form.PlayList()->setFocus();
    QStringList walked;
    for (int i = 0; i < 18; ++i) {
        key(Qt::Key_Tab);
        walked << focusName(form);
        // The mark is on the face exactly while one of its buttons has the focus.
        EXPECT_EQ(form.SkinForm1()->showsFocusMark(),
                  form.SkinForm1()->focusedElement().has_value())
            << walked.last().toStdString();
    }
    EXPECT_EQ(walked, (QStringList{"PLAY", "Group", "PlayCount", "URL", "ADD", "OK", "CANCEL",
                                   "CUT", "COPY", "PASTE", "HISTORY", "UP", "DOWN", "CLEAR", "RAM",
                                   "SHUFFLE", "LOOP", "PlayList"}));
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focusName(form), "LOOP");
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focusName(form), "SHUFFLE");
    // A click into a field takes the focus, and the mark, off the face.
    QTest::mouseClick(form.URL(), Qt::LeftButton);
    EXPECT_EQ(focusName(form), "URL");
    EXPECT_FALSE(form.SkinForm1()->showsFocusMark());
}

// Fault: a location typed into its field and Enter hid the window and added nothing. The
// entry added is then moved and flagged with the keyboard alone; Enter on a button presses
// it, and Enter in the grid still plays the list (OK).
TEST_F(ListKeyboard, TypedLocationIsAddedMovedAndPlayed) {
    form.model().AddEntry("/clips/one.mpg");
    form.model().selectRow(2);
    int played = 0;
    form.OnPlayFromTop = [&] { ++played; };
    form.URL()->setFocus();
    QTest::keyClicks(form.URL(), "/clips/typed.mpg");
    key(Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(played, 0);
    EXPECT_EQ(locations(), "/clips/one.mpg /clips/typed.mpg");
    EXPECT_EQ(form.model().currentRow(), 2);

    ASSERT_TRUE(tabTo("UP"));
    key(Qt::Key_Space);
    EXPECT_EQ(locations(), "/clips/typed.mpg /clips/one.mpg");
    ASSERT_TRUE(tabTo("PLAY"));
    key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(form.SkinForm1()->GetButtonState(u"PLAY"));
    EXPECT_EQ(form.model().cell(PlayListModel::PlayColumn, 1), "Off");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(played, 0);

    form.PlayList()->setFocus();
    key(Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(played, 1);
}
