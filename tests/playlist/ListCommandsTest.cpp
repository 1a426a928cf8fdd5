#include "playlist/ListCommands.h"
#include "playlist/ListEditor.h"
#include "playlist/PlayListModel.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace korvel;

namespace {

class Recorder : public ListActions {
public:
    void HideList() override { calls << "HideList"; }
    void PlayFromTop() override { calls << "PlayFromTop"; }
    void StorePlayFlag() override { calls << "StorePlayFlag"; }
    void AddFromFields() override { calls << "AddFromFields"; }
    void PasteHistory() override { calls << "PasteHistory"; }
    void SaveRamFile() override { calls << "SaveRamFile"; }
    bool editing() const override { return typing; }
    bool typingLocation() const override { return atLocation; }
    QStringList calls;
    bool typing = false;
    bool atLocation = false;
};

// A list of three entries with entry 2 selected, the commands over it.
struct Commands {
    Commands() {
        for (const char* location : {"a", "b", "c"}) list.AddEntry(location);
        list.setSelection(2, 2);
    }
    QString locations() const {
        QStringList texts;
        for (int row = 1; row <= list.entryCount(); ++row) {
            texts << list.cell(PlayListModel::LocationColumn, row);
        }
        return texts.join(u' ');
    }
    PlayListModel list;
    ListEditor editor{list};
    Recorder actions;
    ListCommands commands{actions, editor};
};

} // namespace

// Fault: a name reaching the wrong command, OK playing before the list is hidden, CANCEL
// starting it, a name matched without regard to case, or another mouse button acting.
TEST(ListCommands, NamesRunTheirRows) {
    const struct {
        const char* id;
        Qt::MouseButton button;
        QStringList calls;
        const char* list;
    } clicks[] = {
        {"UP", Qt::LeftButton, {}, "b a c"},
        {"DOWN", Qt::LeftButton, {}, "a c b"},
        {"CUT", Qt::LeftButton, {}, "a c"},
        {"COPY", Qt::LeftButton, {}, "a b c"},
        {"CLEAR", Qt::LeftButton, {}, ""},
        {"HISTORY", Qt::LeftButton, {"PasteHistory"}, "a b c"},
        {"OK", Qt::LeftButton, {"HideList", "PlayFromTop"}, "a b c"},
        {"CANCEL", Qt::LeftButton, {"HideList"}, "a b c"},
        {"ADD", Qt::LeftButton, {"AddFromFields"}, "a b c"},
        {"RAM", Qt::LeftButton, {"SaveRamFile"}, "a b c"},
        {"PLAY", Qt::LeftButton, {"StorePlayFlag"}, "a b c"},
        {"ok", Qt::LeftButton, {}, "a b c"},
        {"SHUFFLE", Qt::LeftButton, {}, "a b c"},
        {"CUT", Qt::RightButton, {}, "a b c"},
        {"OK", Qt::MiddleButton, {}, "a b c"},
        {"", Qt::LeftButton, {}, "a b c"},
    };
    for (const auto& c : clicks) {
        Commands window;
        window.commands.SkinForm1MouseUpNotify(QString::fromLatin1(c.id), c.button);
        EXPECT_EQ(window.actions.calls, c.calls) << c.id;
        EXPECT_EQ(window.locations(), c.list) << c.id;
    }
    Commands window;
    window.commands.SkinForm1MouseUpNotify(u"COPY", Qt::LeftButton);
    window.commands.SkinForm1MouseUpNotify(u"PASTE", Qt::LeftButton);
    EXPECT_EQ(window.locations(), "a b b c");
}

// Fault: Enter not starting the list, Esc starting it, Delete taking rows out of the list
// while the user types in a field, or Enter in the location field hiding the window and
// adding nothing.
TEST(ListCommands, KeysRunTheirRows) {
    const struct {
        int key;
        bool typing;
        bool atLocation;
        QStringList calls;
        const char* list;
    } keys[] = {
        {Qt::Key_Return, false, false, {"HideList", "PlayFromTop"}, "a b c"},
        {Qt::Key_Enter, true, false, {"HideList", "PlayFromTop"}, "a b c"},
        {Qt::Key_Return, true, true, {"AddFromFields"}, "a b c"},
        {Qt::Key_Enter, true, true, {"AddFromFields"}, "a b c"},
        {Qt::Key_Escape, true, true, {"HideList"}, "a b c"},
        {Qt::Key_Delete, false, false, {}, "a c"},
        {Qt::Key_Delete, true, false, {}, "a b c"},
        {Qt::Key_Backspace, false, false, {}, "a b c"},
    };
    for (const auto& k : keys) {
        Commands window;
        window.actions.typing = k.typing;
        window.actions.atLocation = k.atLocation;
        window.commands.FormKeyDown(k.key);
        EXPECT_EQ(window.actions.calls, k.calls) << k.key;
        EXPECT_EQ(window.locations(), k.list) << k.key;
    }
}

// The table keeps the order in which the window has always tested its names.
TEST(ListCommands, TableOrder) {
    QStringList order;
    for (const auto& row : ListCommands::buttons()) order << row.id.toString();
    EXPECT_EQ(order, QStringList({"UP", "DOWN", "CUT", "COPY", "PASTE", "HISTORY", "CLEAR", "OK",
                                  "CANCEL", "ADD", "RAM", "PLAY"}));
}
