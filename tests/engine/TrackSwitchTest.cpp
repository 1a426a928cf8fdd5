#include "MediaTestSupport.h"

using namespace korvel;
using namespace korvel::test;

namespace {

MediaTrack::Kind audio = MediaTrack::Kind::Audio;
MediaTrack::Kind subtitle = MediaTrack::Kind::Subtitle;

// The number of the selected track of `kind`, 0 for none.
int selected(const MediaControl& control, MediaTrack::Kind kind) {
    for (const MediaTrack& track : control.QueryTracks()) {
        if (track.kind == kind && track.selected) return track.id;
    }
    return 0;
}

} // namespace

// Fault: the clip's tracks not offered as the engine has them, a choice that does not apply,
// a track the clip lacks silencing the sound, or a subtitle file not shown.
TEST(TrackSwitch, TracksAreListedSwitchedAndAdded) {
    auto control = makeControl();
    EXPECT_TRUE(control->QueryTracks().isEmpty());
    EXPECT_THROW(control->SelectTrack(audio, 1), KorvelError);
    Recorder recorder(*control);
    openClip(*control, recorder, QStringLiteral("tracks.mkv"));
    const MediaTracks tracks = control->QueryTracks();
    ASSERT_EQ(tracks.size(), 3);
    EXPECT_EQ(tracks[0].language, "eng");
    EXPECT_EQ(tracks[1].title, "Second");
    EXPECT_EQ(tracks[2].kind, subtitle);
    EXPECT_EQ(selected(*control, audio), 1);

    control->SelectTrack(audio, 2);
    control->SelectTrack(subtitle, 0);
    EXPECT_EQ(selected(*control, audio), 2);
    EXPECT_EQ(selected(*control, subtitle), 0);
    EXPECT_THROW(control->SelectTrack(audio, 7), KorvelError);
    EXPECT_EQ(selected(*control, audio), 2);

    control->AddSubtitles(clip(QStringLiteral("subtitles.srt")));
    const MediaTracks added = control->QueryTracks();
    ASSERT_EQ(added.size(), 4);
    EXPECT_TRUE(added.back().external);
    EXPECT_EQ(selected(*control, subtitle), added.back().id);
    EXPECT_THROW(control->AddSubtitles(QStringLiteral("av://lavfi:sine")), KorvelError);
    EXPECT_THROW(control->AddSubtitles(clip(QStringLiteral("absent.srt"))), KorvelError);
    EXPECT_TRUE(recorder.failures.isEmpty()) << recorder.failures.join(u'|').toStdString();
}
