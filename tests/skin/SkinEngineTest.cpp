#include "../support/SkinTestSupport.h"

#include <gtest/gtest.h>

using namespace korvel;
using korvel::test::describe;
using korvel::test::FakeWindow;

namespace {

const QStringList EngineBars = {"VOL, TrackBar.BMP, TrackBar.BMP, 12, 61, 95, H, 50",
                                "DEAD, TrackBar.BMP, TrackBar.BMP, 0, 0, 10, H, 80"};

} // namespace

// Slider positions set by the windows wrap at 101 and never go below 0; the thumb follows.
TEST(SkinEngine, SetTrackBarPositionWrapsAndPlacesTheThumb) {
    SkinEngine engine;
    engine.loadDescription(describe(150, {}, {}, EngineBars));
    const struct {
        int set, position, offset;
    } cases[] = {{100, 100, 85}, {101, 0, 0}, {150, 49, 41}, {-5, 0, 0}, {50, 50, 42}};
    for (const auto& c : cases) {
        engine.SetTrackBarPosition(u"VOL", c.set);
        EXPECT_EQ(engine.GetTrackBarPosition(u"VOL"), c.position) << c.set;
        EXPECT_EQ(engine.model().TrackBars[0].ThumbOffset, c.offset) << c.set;
    }
    EXPECT_EQ(engine.GetTrackBarPosition(u"vol"), 0); // names match exactly
}

// A track no longer than its thumb cannot move it: it stays at 0 instead of dividing by
// zero later.
TEST(SkinEngine, TrackNoLongerThanItsThumbIsInert) {
    SkinEngine engine;
    engine.loadDescription(describe(150, {}, {}, EngineBars));
    EXPECT_EQ(engine.GetTrackBarPosition(u"DEAD"), 0);
    engine.SetTrackBarPosition(u"DEAD", 70);
    EXPECT_EQ(engine.GetTrackBarPosition(u"DEAD"), 0);
    EXPECT_EQ(engine.model().TrackBars[1].ThumbOffset, 0);
}

// Element operations find the first element of a name, change nothing for unknown names,
// and recompose the face as the windows rely on (a display text always recomposes).
TEST(SkinEngine, ElementOperationsByName) {
    FakeWindow window;
    SkinEngine engine(&window);
    engine.loadDescription(describe(150, {"T, 0, 0, 10, 10, t, FALSE", "T, 20, 0, 10, 10, t2"},
                                    {"TEXT, Arial, FALSE, FALSE, 9, $FFFFFF, 40, 40, Normal"}));
    int shows = window.faceShows;
    engine.SetButtonState(u"T", true);
    EXPECT_TRUE(engine.GetButtonState(u"T"));
    EXPECT_FALSE(engine.model().HotAreas[1].Down);
    EXPECT_EQ(engine.face().pixel(5, 5), engine.model().MouseDownBitmap.pixel(5, 5));
    EXPECT_GT(window.faceShows, shows);
    shows = window.faceShows;
    engine.SetButtonState(u"none", true);
    EXPECT_FALSE(engine.GetButtonState(u"none"));
    EXPECT_EQ(window.faceShows, shows);
    engine.SetDisplayText(u"TEXT", "00:01:05");
    EXPECT_EQ(engine.model().Displays[0].Text, "00:01:05");
    EXPECT_EQ(window.faceShows, shows + 1);
}

// A setter always leaves the face as a whole composition would, but a composition that
// would give the pixels already shown is not drawn or shown again.
TEST(SkinEngine, SettersComposeOnlyWhatWouldChange) {
    FakeWindow window;
    SkinEngine engine(&window);
    engine.loadDescription(describe(150, {"T, 0, 0, 10, 10, t, FALSE", "U, 20, 0, 10, 10, u"},
                                    {"TEXT, Arial, FALSE, FALSE, 9, $FFFFFF, 40, 40, Normal"},
                                    EngineBars));
    SkinModel& model = engine.model();
    const auto up = [&](int x, int y) { return model.MouseUpBitmap.pixel(x, y); };
    const auto down = [&](int x, int y) { return model.MouseDownBitmap.pixel(x, y); };
    engine.SetDisplayText(u"TEXT", "12:34");
    engine.SetTrackBarPosition(u"VOL", 30);
    const QImage composed = engine.face().copy();
    int shows = window.faceShows;

    // The same values again, or a name no element has: nothing to draw.
    engine.SetDisplayText(u"TEXT", "12:34");
    engine.SetDisplayText(u"none", "x");
    engine.SetTrackBarPosition(u"VOL", 30);
    engine.SetTrackBarPosition(u"VOL", 131); // wraps to the same place
    engine.SetButtonState(u"U", true);       // not a toggle: its down state is not drawn
    EXPECT_EQ(window.faceShows, shows);
    EXPECT_EQ(engine.face(), composed);

    // The composition's mark on the model is left all the same.
    model.FaceStale = true;
    engine.SetDisplayText(u"TEXT", "12:34");
    EXPECT_FALSE(model.FaceStale);
    EXPECT_EQ(window.faceShows, shows);

    // A look drawn over the face (hovering) is composed away by the next setter.
    engine.copyArea(model.MouseDownBitmap, 1);
    EXPECT_EQ(engine.face().pixel(25, 5), down(25, 5));
    engine.SetDisplayText(u"none", "x");
    EXPECT_EQ(engine.face().pixel(25, 5), up(25, 5));
    EXPECT_EQ(engine.face(), composed);
    EXPECT_GT(window.faceShows, shows);

    // A state changed in the model without a composition is drawn by the next setter.
    shows = window.faceShows;
    model.HotAreas[1].Pressed = true;
    engine.SetTrackBarPosition(u"VOL", 30);
    EXPECT_EQ(engine.face().pixel(25, 5), down(25, 5));
    EXPECT_EQ(window.faceShows, shows + 1);

    // A changed value is drawn as always.
    engine.SetDisplayText(u"TEXT", "12:35");
    EXPECT_NE(engine.face(), composed);
    EXPECT_EQ(window.faceShows, shows + 2);
}

// Fault: a resting window keeps its pictures, or wakes showing the face from before its rest
// (a toggle changed while hidden, shown in its old look).
TEST(SkinEngine, ARestingFaceHoldsNoPicturesAndWakesAsItsStateIs) {
    FakeWindow window;
    SkinEngine engine(&window);
    engine.rest(true);
    engine.loadDescription(describe(150, {"T, 0, 0, 10, 10, t, TRUE"}));
    const SkinModel& m = engine.model();
    EXPECT_EQ(engine.size(), QSize(273, 116)) << "a resting window still takes its shape";
    EXPECT_TRUE(m.MouseUpBitmap.isNull() && m.MouseDownBitmap.isNull() && engine.face().isNull());
    const int shows = window.faceShows;
    engine.SetButtonState(u"T", true);
    EXPECT_TRUE(engine.GetButtonState(u"T"));
    EXPECT_EQ(window.faceShows, shows) << "nothing to show while resting";

    engine.rest(false);
    ASSERT_FALSE(engine.face().isNull());
    EXPECT_EQ(engine.face().pixel(5, 5), m.MouseDownBitmap.pixel(5, 5));
    EXPECT_EQ(engine.face().pixel(50, 50), m.MouseUpBitmap.pixel(50, 50));
    EXPECT_GT(window.faceShows, shows);
    engine.rest(true);
    EXPECT_TRUE(m.MouseOnBitmap.isNull() && engine.face().isNull());
}
