#pragma once

#include "command/CommandTaker.h"
#include "command/DeskWindows.h"
#include "command/PlayerCommands.h"

#include <QStringList>

#include <vector>

namespace korvel::test {

// A door's commands as they were given, for tables that check what each door asks for. The
// toggles it is told of are what it shows afterwards, as the player's would be.
class CommandRecorder : public CommandTaker {
public:
    void run(const PlayerCommand& command) override {
        seen.push_back(command);
        if (command.verb == Verb::Mute) shown.mute = command.number != 0;
        if (command.verb == Verb::Top) shown.top = command.number != 0;
        if (command.verb == Verb::Fix) shown.fix = command.number != 0;
    }
    PlaybackState state() const override { return shown; }
    std::vector<PlayerCommand> seen;
    PlaybackState shown;
};

// "verb" or "verb:number" or "verb:text", as the verb table names the verb.
inline QString describe(const PlayerCommand& command) {
    const auto& row = PlayerCommands::verbs()[std::size_t(command.verb)];
    const QString name = QString::fromLatin1(row.name);
    switch (row.argument) {
    case PlayerCommands::Argument::None: return name;
    case PlayerCommands::Argument::Text: return name + u':' + command.text;
    default: return name + u':' + QString::number(command.number);
    }
}

inline QStringList describe(const std::vector<PlayerCommand>& commands) {
    QStringList all;
    for (const PlayerCommand& command : commands) all << describe(command);
    return all;
}

class FakeWindows : public DeskWindows {
public:
    void closePlayer() override { calls << "closePlayer"; }
    void minimizeAll() override { calls << "minimizeAll"; }
    void hidePanel() override { calls << "hidePanel"; }
    void showPlayList() override { calls << "showPlayList"; }
    void raise() override { calls << "raise"; }
    void applySkin(const QString& name) override { calls << QStringLiteral("applySkin:") + name; }
    QStringList calls;
};

} // namespace korvel::test
