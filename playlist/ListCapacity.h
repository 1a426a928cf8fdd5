#pragma once

#include <QString>

namespace korvel {

class PlayListModel;

// Takes what fits: a command that adds many entries (a drop, a playlist file, a paste, the
// history) appends while the list has room and counts the rest, and ends with one message
// for all that was left out instead of stopping at the first entry that did not fit.
//
// One object per command, on the user-interface thread. It keeps a reference to the list,
// which must outlive it. It never removes anything: entries already in the list stay.
class ListCapacity {
public:
    explicit ListCapacity(PlayListModel& list) : m_list(list) {}

    PlayListModel& list() const { return m_list; }

    // Entries that still fit.
    int room() const;
    // For callers that insert rows themselves: of `wanted` new entries, how many fit (0 for
    // a negative count); the rest are counted as left out. The caller must then add exactly
    // that many before it asks again.
    int admit(int wanted);
    // Appends `location` with AddEntry when it fits, else counts it as left out. Returns
    // whether it was added. Rows are not renumbered: callers renumber.
    bool add(const QString& location);

    int leftOut() const { return m_leftOut; }
    // The one message for what was left out; empty when nothing was.
    QString message() const;
    // Raises message() as a KorvelError when anything was left out; else does nothing.
    void raiseIfLeftOut() const;

private:
    PlayListModel& m_list;
    int m_leftOut = 0;
};

} // namespace korvel
