#include "base/ReachablePlace.h"

#include <gtest/gtest.h>

using korvel::ReachablePlace;

namespace {
const QRect Primary(0, 0, 1280, 800);
const QRect RightOfIt(1280, 0, 1920, 1080);
const QRect Small(0, 0, 1024, 768);
const QSize Panel(273, 100);
// A screen 1000 pixels tall with a task bar of 40 along its foot, and one with a panel of 48
// along its left side and 30 along its top.
const QRect Tall(0, 0, 1280, 1000);
const ReachablePlace::Screen TaskBarBelow{Tall, QRect(0, 0, 1280, 960)};
const ReachablePlace::Screen PanelsLeftAndTop{Primary, QRect(48, 30, 1232, 770)};
const QSize Client(320, 240);
} // namespace

// Remembered places that can be reached stay to the pixel, also under a task bar; a borderless
// face that is not wholly on one screen, or a caption bar of which no grip shows, comes onto
// the nearest screen, moved no further than needed to lie wholly in its free part (a window
// too tall for that part shows its caption bar at the part's top).
TEST(ReachablePlace, BringsUnreachablePlacesOntoTheNearestScreen) {
    const struct {
        const char* what;
        ReachablePlace window;
        QPoint stored;
        QList<ReachablePlace::Screen> screens;
        QPoint expected;
    } cases[] = {
        {"face on the screen", ReachablePlace::face(Panel), {40, 250}, {Primary}, {40, 250}},
        {"face in a corner", ReachablePlace::face(Panel), {1007, 700}, {Primary}, {1007, 700}},
        {"face on a second screen",
         ReachablePlace::face(Panel),
         {1500, 900},
         {Primary, RightOfIt},
         {1500, 900}},
        {"face on a second screen that is gone",
         ReachablePlace::face(Panel),
         {1500, 900},
         {Primary},
         {1007, 700}},
        {"face partly off the edge",
         ReachablePlace::face(Panel),
         {1100, 250},
         {Primary},
         {1007, 250}},
        {"face across two screens, onto the one with more of it",
         ReachablePlace::face(Panel),
         {1200, 250},
         {Primary, RightOfIt},
         {1280, 250}},
        {"face left of every screen", ReachablePlace::face(Panel), {-1500, -40}, {Primary}, {0, 0}},
        {"face below a smaller screen", ReachablePlace::face(Panel), {40, 790}, {Small}, {40, 668}},
        {"caption half off the edge",
         ReachablePlace::caption(Client),
         {1200, 100},
         {Primary},
         {1200, 100}},
        {"caption with too little showing",
         ReachablePlace::caption(Client),
         {1240, 100},
         {Primary},
         {952, 100}},
        {"caption a little above the top",
         ReachablePlace::caption(Client),
         {120, -7},
         {Primary},
         {120, -7}},
        {"caption above the top", ReachablePlace::caption(Client), {120, -15}, {Primary}, {120, 0}},
        {"caption below the bottom",
         ReachablePlace::caption(Client),
         {120, 795},
         {Primary},
         {120, 520}},
        {"caption of a narrow window",
         ReachablePlace::caption({30, 240}),
         {1250, 10},
         {Primary},
         {1250, 10}},
        {"caption far off, nearer the second screen",
         ReachablePlace::caption(Client),
         {4000, 2000},
         {Primary, RightOfIt},
         {2872, 800}},
        {"caption wider than the screen",
         ReachablePlace::caption({2000, 240}),
         {-1900, 10},
         {Small},
         {-1900, 10}},
        {"caption wider than the screen, off it",
         ReachablePlace::caption({2000, 240}),
         {-1960, 10},
         {Small},
         {0, 10}},
        {"caption far below, above the task bar",
         ReachablePlace::caption(Client),
         {120, 5000},
         {TaskBarBelow},
         {120, 680}},
        {"caption on the screen, under the task bar",
         ReachablePlace::caption(Client),
         {120, 985},
         {TaskBarBelow},
         {120, 985}},
        {"face far off, beside the panels",
         ReachablePlace::face(Panel),
         {-1500, -40},
         {PanelsLeftAndTop},
         {48, 30}},
        {"caption taller than the free part, at its top",
         ReachablePlace::caption({320, 900}),
         {120, 5000},
         {PanelsLeftAndTop},
         {120, 30}},
        {"no screen known", ReachablePlace::face(Panel), {5000, 5000}, {}, {5000, 5000}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.window.placeFor(c.stored, c.screens), c.expected) << c.what;
    }
}
