#pragma once

#include "playlist/SettingsData.h"

#include <QString>

#include <vector>

namespace korvel {

class PlayListModel;

// Takes what fits: a command that adds many entries (a drop, a playlist file, a paste, the
// history) appends while the list has room and counts the rest, and ends with one message
// for all that was left out instead of stopping at the first entry that did not fit. Room is
// both the list's 254 entries and the part of the settings file its entries may take
// (SettingsFile::MaxListBytes): a list that could not be saved is never built.
//
// One object per command, on the user-interface thread. It keeps a reference to the list,
// which must outlive it. It never removes anything: entries already in the list stay.
class ListCapacity {
public:
    explicit ListCapacity(PlayListModel& list);

    PlayListModel& list() const { return m_list; }

    // Entries that still fit by their number.
    int room() const;
    // For callers that insert rows themselves: of `rows` (columns 1..7 of each), how many of
    // the first fit; the rest are counted as left out. The caller must then add exactly the
    // first that many before it asks again.
    int admit(const std::vector<SettingsRow>& rows);
    // Appends `location` with AddEntry when it fits, else counts it as left out. Returns
    // whether it was added. Rows are not renumbered: callers renumber.
    bool add(const QString& location);

    int leftOut() const { return m_leftOutByCount + m_leftOutBySize; }
    // The one message for what was left out; empty when nothing was.
    QString message() const;
    // Raises message() as a KorvelError when anything was left out; else does nothing.
    void raiseIfLeftOut() const;

private:
    PlayListModel& m_list;
    qint64 m_bytes = 0; // what the list's entries take in the settings file
    int m_leftOutByCount = 0;
    int m_leftOutBySize = 0;
};

} // namespace korvel
