#include "playlist/ListCommands.h"

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
    QStringList calls;
};

} // namespace

// Fault: OK playing before the list is hidden, CANCEL or Esc starting the list, a name
// matched without regard to case, or another mouse button acting.
TEST(ListCommands, NamesAndKeysRunTheirRows) {
    const struct {
        const char* id;
        Qt::MouseButton button;
        QStringList calls;
    } clicks[] = {
        {"OK", Qt::LeftButton, {"HideList", "PlayFromTop"}},
        {"CANCEL", Qt::LeftButton, {"HideList"}},
        {"ADD", Qt::LeftButton, {"AddFromFields"}},
        {"PLAY", Qt::LeftButton, {"StorePlayFlag"}},
        {"ok", Qt::LeftButton, {}},
        {"SHUFFLE", Qt::LeftButton, {}},
        {"OK", Qt::RightButton, {}},
        {"", Qt::LeftButton, {}},
    };
    for (const auto& c : clicks) {
        Recorder actions;
        ListCommands commands(actions);
        commands.SkinForm1MouseUpNotify(QString::fromLatin1(c.id), c.button);
        EXPECT_EQ(actions.calls, c.calls) << c.id;
    }
    const struct {
        int key;
        QStringList calls;
    } keys[] = {
        {Qt::Key_Return, {"HideList", "PlayFromTop"}},
        {Qt::Key_Enter, {"HideList", "PlayFromTop"}},
        {Qt::Key_Escape, {"HideList"}},
        {Qt::Key_Space, {}},
    };
    for (const auto& k : keys) {
        Recorder actions;
        ListCommands commands(actions);
        commands.FormKeyDown(k.key);
        EXPECT_EQ(actions.calls, k.calls) << k.key;
    }
}

// The table keeps the order in which the window has always tested its names.
TEST(ListCommands, TableOrder) {
    QStringList order;
    for (const auto& row : ListCommands::buttons()) order << row.id.toString();
    EXPECT_EQ(order, QStringList({"OK", "CANCEL", "ADD", "PLAY"}));
}
