#pragma once

#include <QRect>

#include <optional>
#include <vector>

namespace korvel {

struct SkinModel;

// One element of a loaded skin as someone who cannot see the face meets it: what kind of
// control it is, and where it sits in its table (hot areas for buttons and toggles).
struct SkinElementRef {
    enum class Kind { Button, Toggle, Slider, Display };
    Kind kind = Kind::Button;
    int index = -1;

    bool operator==(const SkinElementRef&) const = default;
    // Buttons, toggles and sliders take the keyboard focus; a display only shows a text.
    bool focusable() const { return kind != Kind::Display; }
};

// The elements of a skin in the order a reader meets them on the face: line by line from the
// top, left to right within a line. Table order is how the skin was written, not how it
// looks; the panel's close button comes third in its table but sits in the top right corner.
class SkinElementList {
public:
    static std::vector<SkinElementRef> readingOrder(const SkinModel& model);
    // Every element in table order (buttons and toggles, sliders, displays), without placing
    // any: what changed on a face is found without measuring the displays' text, which would
    // load the fonts of a face that shows none yet.
    static std::vector<SkinElementRef> tableOrder(const SkinModel& model);
    // Places on a face in the same order, as indices into `rects`: a window that lays widgets
    // of its own over its face reads them with its elements.
    static std::vector<int> readingOrder(const std::vector<QRect>& rects);
    // Whether the element still exists in the model (a skin loaded since may have fewer).
    static bool exists(const SkinModel& model, SkinElementRef element);
    // The element's rectangle on the face: a hot area's, a slider's whole bar, the extent of a
    // display's current text.
    static QRect rect(const SkinModel& model, SkinElementRef element);
    // The focusable element after (`forward`) or before `from` in reading order, coming round
    // at the ends; from no element, the first or the last. None when nothing is focusable.
    static std::optional<SkinElementRef>
    nextFocus(const SkinModel& model, std::optional<SkinElementRef> from, bool forward);
};

} // namespace korvel
