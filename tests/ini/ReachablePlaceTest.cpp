#include "base/ReachablePlace.h"

#include <gtest/gtest.h>

using korvel::ReachablePlace;

namespace {
const QRect Primary(0, 0, 1280, 800);
const QRect RightOfIt(1280, 0, 1920, 1080);
const QRect Small(0, 0, 1024, 768);
const QSize Panel(273, 100);
} // namespace

// Remembered places that can be reached stay to the pixel; a borderless face that is not
// wholly on one screen, or a caption bar of which no grip shows, comes onto the nearest
// screen, moved no further than needed.
TEST(ReachablePlace, BringsUnreachablePlacesOntoTheNearestScreen) {
    const struct {
        const char* what;
        ReachablePlace window;
        QPoint stored;
        QList<QRect> screens;
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
         ReachablePlace::caption(320),
         {1200, 100},
         {Primary},
         {1200, 100}},
        {"caption with too little showing",
         ReachablePlace::caption(320),
         {1240, 100},
         {Primary},
         {960, 100}},
        {"caption a little above the top",
         ReachablePlace::caption(320),
         {120, -7},
         {Primary},
         {120, -7}},
        {"caption above the top", ReachablePlace::caption(320), {120, -15}, {Primary}, {120, 0}},
        {"caption below the bottom",
         ReachablePlace::caption(320),
         {120, 795},
         {Primary},
         {120, 780}},
        {"caption of a narrow window",
         ReachablePlace::caption(30),
         {1250, 10},
         {Primary},
         {1250, 10}},
        {"caption far off, nearer the second screen",
         ReachablePlace::caption(320),
         {4000, 2000},
         {Primary, RightOfIt},
         {2880, 1060}},
        {"caption wider than the screen",
         ReachablePlace::caption(2000),
         {-1900, 10},
         {Small},
         {-1900, 10}},
        {"caption wider than the screen, off it",
         ReachablePlace::caption(2000),
         {-1960, 10},
         {Small},
         {0, 10}},
        {"no screen known", ReachablePlace::face(Panel), {5000, 5000}, {}, {5000, 5000}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.window.placeFor(c.stored, c.screens), c.expected) << c.what;
    }
}
