#pragma once

#include <QString>

namespace korvel {

// The hints of the built-in skins' elements. A skin description holds each hint as its source
// text; this is the one place that turns it into the text shown (the tooltip, and whatever
// else names an element to the user), in the user's language.
class SkinHint {
public:
    // The catalogues' context of every hint of both built-in skins.
    static constexpr const char* Context = "SkinHints";

    // The hint as shown; the empty hint (no tooltip) stays empty.
    static QString shown(const QString& hint);
};

} // namespace korvel
