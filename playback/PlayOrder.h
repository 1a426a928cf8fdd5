#pragma once

#include <functional>

namespace korvel {

class PlayListCells;

// Which list entry plays next: the walk of next and previous over the enabled entries, and
// the shuffle's draw. Reads the list only; moving the cursor and starting belong to the
// caller.
class PlayOrder {
public:
    // A uniform draw from 0..count-1 (count > 0). The program seeds it from the clock; tests
    // give fixed sequences.
    using Draw = std::function<int(int count)>;

    explicit PlayOrder(Draw draw) : m_draw(std::move(draw)) {}

    // The walk from row `from` (an entry or the end row) one step after another in
    // `direction` (+1 or -1) to the next entry whose Play is "On". Without `loop` it stops at
    // the header, so the top and the bottom of the list end it; with `loop` it wraps over the
    // header. The starting row itself is never the answer. Returns 0 when no row qualifies.
    static int walk(const PlayListCells& list, int from, int direction, bool loop);

    // A random entry among those whose Play is "On"; 0 when there is none.
    int shuffle(const PlayListCells& list) const;

    // The draw of the program: re-seeded from the time of day before each draw.
    static int clockDraw(int count);

private:
    Draw m_draw;
};

} // namespace korvel
