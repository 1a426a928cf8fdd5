#include "skin/SkinElementList.h"

#include "skin/SkinModel.h"

#include <QFontMetrics>

#include <algorithm>
#include <numeric>

namespace korvel {

namespace {

struct Placed {
    SkinElementRef element;
    QRect rect;
};

std::vector<Placed> placedElements(const SkinModel& model) {
    std::vector<Placed> placed;
    for (const SkinElementRef element : SkinElementList::tableOrder(model))
        placed.push_back({element, SkinElementList::rect(model, element)});
    return placed;
}

} // namespace

std::vector<SkinElementRef> SkinElementList::tableOrder(const SkinModel& model) {
    std::vector<SkinElementRef> elements;
    for (int i = 0; i < int(model.HotAreas.size()); ++i) {
        const SkinElementRef::Kind kind = model.HotAreas[std::size_t(i)].IsToggle
                                              ? SkinElementRef::Kind::Toggle
                                              : SkinElementRef::Kind::Button;
        elements.push_back({kind, i});
    }
    for (int i = 0; i < int(model.TrackBars.size()); ++i)
        elements.push_back({SkinElementRef::Kind::Slider, i});
    for (int i = 0; i < int(model.Displays.size()); ++i)
        elements.push_back({SkinElementRef::Kind::Display, i});
    return elements;
}

std::vector<SkinElementRef> SkinElementList::readingOrder(const SkinModel& model) {
    const std::vector<Placed> placed = placedElements(model);
    std::vector<QRect> rects;
    for (const Placed& p : placed) rects.push_back(p.rect);
    std::vector<SkinElementRef> order;
    for (const int i : readingOrder(rects)) order.push_back(placed[std::size_t(i)].element);
    return order;
}

std::vector<int> SkinElementList::readingOrder(const std::vector<QRect>& rects) {
    std::vector<int> placed(rects.size());
    std::iota(placed.begin(), placed.end(), 0);
    const auto at = [&rects](int i) { return rects[std::size_t(i)]; };
    std::stable_sort(placed.begin(), placed.end(),
                     [&at](int a, int b) { return at(a).top() < at(b).top(); });
    // A line is the first element not yet placed and every element whose middle lies above
    // its bottom edge: buttons a pixel lower than their neighbours still read with them, a
    // row that only touches the line's foot does not.
    for (auto line = placed.begin(); line != placed.end();) {
        const int bottom = at(*line).top() + std::max(1, at(*line).height());
        const auto end = std::find_if(line, placed.end(), [&at, bottom](int i) {
            return at(i).top() + at(i).height() / 2 >= bottom;
        });
        std::stable_sort(line, end, [&at](int a, int b) { return at(a).left() < at(b).left(); });
        line = end;
    }
    return placed;
}

bool SkinElementList::exists(const SkinModel& model, SkinElementRef element) {
    using Kind = SkinElementRef::Kind;
    const int i = element.index;
    switch (element.kind) {
    case Kind::Button:
    case Kind::Toggle:
        return i >= 0 && i < int(model.HotAreas.size()) &&
               model.HotAreas[std::size_t(i)].IsToggle == (element.kind == Kind::Toggle);
    case Kind::Slider: return i >= 0 && i < int(model.TrackBars.size());
    case Kind::Display: return i >= 0 && i < int(model.Displays.size());
    }
    return false;
}

QRect SkinElementList::rect(const SkinModel& model, SkinElementRef element) {
    if (!exists(model, element)) return {};
    const auto i = std::size_t(element.index);
    switch (element.kind) {
    case SkinElementRef::Kind::Button:
    case SkinElementRef::Kind::Toggle: return model.HotAreas[i].rect();
    case SkinElementRef::Kind::Slider: {
        const TrackBarInfoRec& bar = model.TrackBars[i];
        return bar.Horizontal ? QRect(bar.Left, bar.Top, bar.Length, bar.ThumbHeight)
                              : QRect(bar.Left, bar.Top, bar.ThumbWidth, bar.Length);
    }
    case SkinElementRef::Kind::Display: {
        const DisplayInfoRec& display = model.Displays[i];
        const QFontMetrics metrics(display.Font.toQFont());
        return QRect(display.Left, display.Top, metrics.horizontalAdvance(display.Text),
                     metrics.height());
    }
    }
    return {};
}

std::optional<SkinElementRef> SkinElementList::nextFocus(const SkinModel& model,
                                                         std::optional<SkinElementRef> from,
                                                         bool forward) {
    std::vector<SkinElementRef> order = readingOrder(model);
    std::erase_if(order, [](SkinElementRef e) { return !e.focusable(); });
    if (order.empty()) return std::nullopt;
    if (!forward) std::reverse(order.begin(), order.end());
    const auto at = from ? std::find(order.begin(), order.end(), *from) : order.end();
    if (at == order.end() || std::next(at) == order.end()) return order.front();
    return *std::next(at);
}

} // namespace korvel
