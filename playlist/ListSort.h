#pragma once

namespace korvel {

class PlayListModel;

// Orders of the whole list.
class ListSort {
public:
    // Puts entries 1..N in ascending order of their Path or URL, compared without regard to
    // letter case by the collation of the default locale (QLocale(), the user's unless a
    // default was set). Whole rows move together with their marks, flags and counts; entries
    // with equal locations keep their order. Then numbers the rows. The header, the end row,
    // the row count, the current row and the selection stay as they were.
    // UI thread. Raises nothing.
    static void SortByLocation(PlayListModel& list);
};

} // namespace korvel
