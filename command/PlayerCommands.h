#pragma once

#include "command/CommandTaker.h"

#include <QString>

#include <span>

namespace korvel {

class DeskWindows;
class Playback;
class PlayListModel;

// The player's one vocabulary: each verb with the kind of its argument and what it does, in
// the manner of a command table. Every door (the panel, the list's OK, the desktop bus, a
// second start, a drop, the command line) runs its commands here, so that two doors asking
// for the same thing get the same thing.
//
// Runs on the user-interface thread. A command's failure (a refused argument, an operation
// that fails) is a KorvelError that ends it; several commands let pending events run (see
// Playback), so commands can run nested.
class PlayerCommands : public CommandTaker {
public:
    // What a verb's argument is.
    enum class Argument {
        None,    // no argument
        Number,  // `number`, any value
        Percent, // `number`, 0..100
        Step,    // `number`, -1 or +1
        Flag,    // `number`, 0 or 1
        Text,    // `text`
    };
    struct VerbRow {
        Verb verb;
        const char* name;
        Argument argument;
        void (PlayerCommands::*run)(const PlayerCommand& command);
    };
    // Where a location leads: another player's list (its local path, taken into the playlist
    // and played from its first new entry) or a clip (played by itself, outside the list).
    struct Opening {
        QString clip;
        QString list;
    };

    // `list` is the list that lists join; none (tests) takes no list in.
    PlayerCommands(Playback& playback, DeskWindows& windows, PlayListModel* list = nullptr);

    // Checks the argument against the verb's table row, then runs the verb.
    void run(const PlayerCommand& command) override;
    PlaybackState state() const override;
    // The table, in the order of the verbs.
    static std::span<const VerbRow> verbs();
    static Argument argumentOf(Verb verb);

    // The one decision "list or clip" for every door. A relative name is one in `folder`
    // (the command line's working folder) for the lists; a clip keeps its name as given.
    static Opening opening(const QString& location, const QString& folder = QString());
    // Plays what `opening` decided: a list joins the playlist and plays; a clip plays alone.
    void open(const Opening& opening);

private:
    friend struct VerbTable;

    void play(const PlayerCommand&);
    void pause(const PlayerCommand&);
    void stop(const PlayerCommand&);
    void seekBy(const PlayerCommand& command);
    void scan(const PlayerCommand& command);
    void seekTo(const PlayerCommand& command);
    void seekShare(const PlayerCommand& command);
    void next(const PlayerCommand&);
    void previous(const PlayerCommand&);
    void markStart(const PlayerCommand&);
    void markEnd(const PlayerCommand&);
    void volume(const PlayerCommand& command);
    void mute(const PlayerCommand& command);
    void size(const PlayerCommand& command);
    void stepSize(const PlayerCommand& command);
    void fullScreen(const PlayerCommand&);
    void top(const PlayerCommand& command);
    void fix(const PlayerCommand& command);
    void loop(const PlayerCommand& command);
    void shuffle(const PlayerCommand& command);
    void openLocation(const PlayerCommand& command);
    void playList(const PlayerCommand&);
    void showList(const PlayerCommand&);
    void hidePanel(const PlayerCommand&);
    void minimize(const PlayerCommand&);
    void raise(const PlayerCommand&);
    void quit(const PlayerCommand&);
    void audioTrack(const PlayerCommand& command);
    void subtitleTrack(const PlayerCommand& command);
    void loadSubtitles(const PlayerCommand& command);
    void add(const PlayerCommand& command);
    void skin(const PlayerCommand&);

    Playback& m_playback;
    DeskWindows& m_windows;
    PlayListModel* m_list;
};

} // namespace korvel
