#pragma once

namespace korvel {

// The built-in skins name Windows faces. They map to free faces with the same metrics, so
// the displays keep their layout and Japanese titles render.
class DisplayFonts {
public:
    // Safe to call any number of times; takes effect once.
    static void installSubstitutes();
};

} // namespace korvel
