#pragma once

#include "skin/SkinElementList.h"

#include <QObject>
#include <QRect>

#include <optional>
#include <vector>

class QWidget;

namespace korvel {

class TSkinForm;

// The keyboard's walk over a window whose face is a skin with widgets of its own laid over it
// (the playlist's grid and fields): Tab and Shift+Tab go through the face's buttons and
// sliders and those widgets together, in reading order, coming round at the ends. A face
// element with the focus holds the window's keyboard through the face; a widget that takes
// the focus by any means (a click, too) takes the mark off the face.
class FaceFocusWalk : public QObject {
public:
    // The face and the widgets (not owned) live as long as the walk.
    FaceFocusWalk(TSkinForm& face, std::vector<QWidget*> widgets);

    // The focus to the next (`forward`) or the previous stop; false when there is none.
    bool move(bool forward);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Stop {
        std::optional<SkinElementRef> element;
        QWidget* widget = nullptr;
        QRect rect;
    };
    std::vector<Stop> stops() const;
    // Where the focus is now among `stops`, -1 for none of them.
    int current(const std::vector<Stop>& stops) const;
    void focus(const Stop& stop);

    TSkinForm& m_face;
    std::vector<QWidget*> m_widgets;
};

} // namespace korvel
