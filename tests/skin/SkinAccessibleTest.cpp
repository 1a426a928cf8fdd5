// The skinned windows as assistive tools see them through Qt's accessibility interfaces.

#include "skin/SkinAccessible.h"
#include "player/RealPlay1.h"
#include "playlist/PlayCountBox.h"
#include "playlist/PlayList.h"
#include "playlist/PlayListGrid.h"
#include "skin/PlayerSkinElements.h"
#include "skin/SkinElementAccessible.h"
#include "skin/SkinElementList.h"
#include "skin/SkinForm.h"
#include "skin/SkinModel.h"
#include "ui/UserLanguage.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

using namespace korvel;

namespace {

// The form's elements by name, and their names in reading order; the notice of an announced
// display, which follows them, under "notice".
std::map<QString, QAccessibleInterface*> elements(TSkinForm& skin, QStringList* order = nullptr) {
    QAccessibleInterface* form = QAccessible::queryAccessibleInterface(&skin);
    std::map<QString, QAccessibleInterface*> byId;
    const SkinModel& m = skin.engine().model();
    for (int i = 0; i < form->childCount(); ++i) {
        QAccessibleInterface* child = form->child(i);
        EXPECT_EQ(form->indexOfChild(child), i);
        const auto* element = dynamic_cast<SkinElementAccessible*>(child);
        if (!element) {
            EXPECT_EQ(i, form->childCount() - 1);
            byId["notice"] = child;
            continue;
        }
        const SkinElementRef e = element->element();
        const auto at = std::size_t(e.index);
        const QString id = e.kind == SkinElementRef::Kind::Slider    ? m.TrackBars[at].ID
                           : e.kind == SkinElementRef::Kind::Display ? m.Displays[at].ID
                                                                     : m.HotAreas[at].ID;
        byId[id] = child;
        if (order) order->append(id);
    }
    return byId;
}

// The events the tools are told, as (kind, interface).
std::vector<std::pair<QAccessible::Event, QAccessibleInterface*>> told;
// The notices shown, as (id, text when shown).
std::vector<std::pair<QAccessible::Id, QString>> noticed;

QImage without(QImage image, QRect area) {
    QPainter(&image).fillRect(area, Qt::black);
    return image;
}

} // namespace

TEST(SkinAccessible, EveryElementOfBothSkinsSaysWhatItIs) {
    TForm1 panel;
    TForm2 playlist;
    panel.SkinForm1()->SetDisplayText(PlayerElement::TextTitle, "A title");
    panel.SkinForm1()->SetDisplayText(PlayerElement::TextPos, "00:01:05");
    panel.SkinForm1()->SetDisplayText(PlayerElement::TextTotal, "/ 00:02:00");
    auto player = elements(*panel.SkinForm1());
    const auto list = elements(*playlist.SkinForm1());
    EXPECT_EQ(player.size(), 28u); // 20 buttons, 3 sliders, 4 texts and the title's notice
    EXPECT_EQ(list.size(), 14u);
    struct Row {
        QAccessibleInterface* e;
        QAccessible::Role role;
        const char* name;
        bool checkable;
        bool checked;
    };
    const Row rows[] = {
        {player.at("BUTTON_PAUSE"), QAccessible::PushButton, "一時停止(Ctrl+A)", false, false},
        {player.at("BUTTON_MUTE"), QAccessible::CheckBox, "ミュート(F11)", true, false},
        {player.at("TRACKBAR_POS"), QAccessible::Slider, "再生位置", false, false},
        {player.at("TEXT_TITLE"), QAccessible::StaticText, "A title", false, false},
        {player.at("TEXT_POS"), QAccessible::StaticText, "Elapsed 00:01:05", false, false},
        {player.at("TEXT_TOTAL"), QAccessible::StaticText, "Length 00:02:00", false, false},
        {list.at("UP"), QAccessible::PushButton, "UP", false, false},
        {list.at("PLAY"), QAccessible::CheckBox, "PLAY", true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.e->role(), row.role);
        EXPECT_EQ(row.e->text(QAccessible::Name), QString::fromUtf8(row.name));
        EXPECT_EQ(row.e->state().checkable, row.checkable);
        EXPECT_EQ(row.e->state().checked, row.checked);
        EXPECT_EQ(row.e->state().focusable, row.role != QAccessible::StaticText);
        EXPECT_EQ(row.e->actionInterface() != nullptr,
                  row.checkable || row.role == QAccessible::PushButton);
        EXPECT_EQ(row.e->valueInterface() != nullptr, row.role == QAccessible::Slider);
    }
    EXPECT_EQ(player.at("notice")->role(), QAccessible::Notification);
    // The list's fields and its grid are named as well.
    const std::pair<QWidget*, const char*> fields[] = {{playlist.PlayCount(), "Play Count"},
                                                       {playlist.PlayList(), "Playlist"},
                                                       {playlist.URL(), "File Location"}};
    for (const auto& [field, name] : fields) {
        EXPECT_EQ(QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name), name);
    }
    QStringList order;
    elements(*panel.SkinForm1(), &order);
    // Line by line, left to right, though the skin's table has another order.
    EXPECT_EQ(order.mid(0, 6), (QStringList{"BUTTON_TOP", "BUTTON_FIX", "BUTTON_MINIMIZE",
                                            "BUTTON_HIDE", "BUTTON_EXIT", "TEXT_TITLE"}));
    QAccessibleInterface* form = QAccessible::queryAccessibleInterface(panel.SkinForm1());
    const QPoint play = panel.SkinForm1()->mapToGlobal(QPoint(60, 95));
    EXPECT_EQ(form->childAt(play.x(), play.y()), player.at("BUTTON_PLAY"));

    // A reader says what the tooltip says: the hint in the user's language.
    const UserLanguage english(QLocale(QStringLiteral("en_US")));
    EXPECT_EQ(player.at("BUTTON_PAUSE")->text(QAccessible::Name), QStringLiteral("Pause (Ctrl+A)"));
    // The list's PLAY flag is not heard as the panel's Play.
    EXPECT_EQ(list.at("PLAY")->text(QAccessible::Name), QStringLiteral("Play this entry"));
    EXPECT_EQ(player.at("TEXT_POS")->text(QAccessible::Name), QStringLiteral("Elapsed 00:01:05"));
}

TEST(SkinAccessible, ActionsAndKeysRunTheClickAndChangesAreTold) {
    TForm1 panel;
    TSkinForm& skin = *panel.SkinForm1();
    panel.show();
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    QStringList released;
    QStringList moved;
    skin.pointer().OnMouseUpNotify = [&](const QString& id, Qt::MouseButton, ShiftState, int, int) {
        released.append(id);
    };
    skin.pointer().OnTrackBarNotify = [&](const QString& id, int at) {
        moved.append(id + QString::number(at));
    };
    const auto all = elements(skin);
    QAccessibleInterface* form = QAccessible::queryAccessibleInterface(&skin);
    told.clear();
    SkinAccessible::setAnnouncer([](QAccessibleEvent* event) {
        QAccessibleInterface* iface = event->accessibleInterface();
        told.emplace_back(event->type(), iface);
        if (event->type() == QAccessible::ObjectShow)
            noticed.emplace_back(QAccessible::uniqueId(iface), iface->text(QAccessible::Name));
    });
    auto toldOf = [&](QAccessible::Event type, const char* id) {
        return std::count(told.begin(), told.end(), std::pair{type, all.at(id)});
    };
    // The first change after a tool starts to listen is told too.
    skin.SetDisplayText(PlayerElement::TextPos, "00:00:09");

    all.at("BUTTON_PAUSE")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    all.at("BUTTON_MUTE")->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(released, (QStringList{"BUTTON_PAUSE", "BUTTON_MUTE"}));
    EXPECT_TRUE(all.at("BUTTON_MUTE")->state().checked);
    skin.SetButtonState(PlayerElement::ButtonMute, false);
    EXPECT_EQ(toldOf(QAccessible::StateChanged, "BUTTON_MUTE"), 2);
    // A slider set by a tool moves as a drag would, within its range.
    QAccessibleValueInterface* volume = all.at("TRACKBAR_VOLUME")->valueInterface();
    volume->setCurrentValue(30);
    volume->setCurrentValue(250);
    EXPECT_EQ(moved, (QStringList{"TRACKBAR_VOLUME30", "TRACKBAR_VOLUME100"}));
    EXPECT_EQ(volume->currentValue(), 100);
    EXPECT_EQ(volume->maximumValue(), 100);
    EXPECT_EQ(toldOf(QAccessible::ValueChanged, "TRACKBAR_VOLUME"), 2);
    // A text is told when it changes, not each time it is set.
    for (const char* text : {"00:00:01", "00:00:01", "00:00:02"}) {
        skin.SetDisplayText(PlayerElement::TextPos, text);
    }
    EXPECT_EQ(toldOf(QAccessible::NameChanged, "TEXT_POS"), 3);
    // A new title is shown as a notice of its own, which keeps its text for a reader that
    // reads it late: the title tag follows the file's name a moment later.
    skin.SetDisplayText(PlayerElement::TextTitle, "second.avi");
    skin.SetDisplayText(PlayerElement::TextTitle, "Second clip");
    ASSERT_EQ(noticed.size(), 2u);
    EXPECT_EQ(noticed[0].second, "second.avi");
    EXPECT_NE(noticed[0].first, noticed[1].first);
    EXPECT_EQ(QAccessible::accessibleInterface(noticed[0].first), nullptr);
    QAccessibleInterface* last = QAccessible::accessibleInterface(noticed[1].first);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->text(QAccessible::Name), "Second clip");
    EXPECT_EQ(form->child(form->childCount() - 1), last);

    // Space with nothing focused presses nothing; Tab marks the first element, and only its
    // edge, over the face; Space and Enter press it; Shift+Tab goes round to the last.
    released.clear();
    const QImage bare = skin.engine().face().convertToFormat(QImage::Format_RGB32);
    auto shown = [&] { return panel.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    QTest::keyClick(&panel, Qt::Key_Space);
    QTest::keyClick(&panel, Qt::Key_Tab);
    const QRect top(10, 1, 30, 16);
    EXPECT_NE(shown().copy(top), bare.copy(top));
    EXPECT_EQ(without(shown(), top), without(bare, top));
    EXPECT_EQ(shown().copy(top.adjusted(1, 1, -1, -1)), bare.copy(top.adjusted(1, 1, -1, -1)));
    EXPECT_EQ(form->focusChild(), all.at("BUTTON_TOP"));
    EXPECT_TRUE(all.at("BUTTON_TOP")->state().focused);
    EXPECT_EQ(toldOf(QAccessible::Focus, "BUTTON_TOP"), 1);
    QTest::keyClick(&panel, Qt::Key_Space);
    QTest::keyClick(&panel, Qt::Key_Return);
    QTest::keyClick(&panel, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(released, (QStringList{"BUTTON_TOP", "BUTTON_TOP"}));
    QTest::keyClick(&panel, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(form->focusChild(), all.at("BUTTON_MKOUT"));
    skin.clearElementFocus();
    EXPECT_EQ(shown(), bare);
    SkinAccessible::setAnnouncer(nullptr);
}

// Fault: changes that came together were told in the skin's table order, which is how the
// skin was written, not how the face reads.
TEST(SkinAccessible, ChangesThatComeTogetherAreToldInReadingOrder) {
    TForm1 panel;
    TSkinForm& skin = *panel.SkinForm1();
    SkinModel& model = skin.engine().model();
    auto* form = dynamic_cast<SkinAccessible*>(QAccessible::queryAccessibleInterface(&skin));
    ASSERT_NE(form, nullptr);
    const std::vector<SkinElementRef> reading = SkinElementList::readingOrder(model);
    const std::vector<SkinElementRef> table = SkinElementList::tableOrder(model);
    const auto inTable = [&table](SkinElementRef e) {
        return std::find(table.begin(), table.end(), e) - table.begin();
    };
    // Two elements that can change whose table order is the reverse of their reading order.
    std::optional<std::pair<SkinElementRef, SkinElementRef>> pair;
    for (std::size_t a = 0; a < reading.size() && !pair; ++a) {
        for (std::size_t b = a + 1; b < reading.size() && !pair; ++b) {
            const bool changeable = reading[a].kind != SkinElementRef::Kind::Button &&
                                    reading[b].kind != SkinElementRef::Kind::Button;
            if (changeable && inTable(reading[a]) > inTable(reading[b]))
                pair = std::pair(reading[a], reading[b]);
        }
    }
    ASSERT_TRUE(pair);
    const auto change = [&model](SkinElementRef e) {
        const auto i = std::size_t(e.index);
        if (e.kind == SkinElementRef::Kind::Toggle) model.HotAreas[i].Down ^= true;
        if (e.kind == SkinElementRef::Kind::Slider)
            model.TrackBars[i].Position = std::uint8_t(model.TrackBars[i].Position ^ 1);
        if (e.kind == SkinElementRef::Kind::Display) model.Displays[i].Text += QStringLiteral("1");
    };
    told.clear();
    SkinAccessible::setAnnouncer([](QAccessibleEvent* event) {
        told.emplace_back(event->type(), event->accessibleInterface());
    });
    change(pair->second);
    change(pair->first);
    skin.engine().PaintFace();
    SkinAccessible::setAnnouncer(nullptr);
    std::vector<QAccessibleInterface*> heard;
    for (const auto& [type, iface] : told) {
        if (iface == form->element(pair->first) || iface == form->element(pair->second))
            heard.push_back(iface);
    }
    EXPECT_EQ(heard, (std::vector{form->element(pair->first), form->element(pair->second)}));
}
