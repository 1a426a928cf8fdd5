#pragma once

#include "base/KorvelError.h"
#include "engine/MediaControl.h"

#include <QStringList>

namespace korvel::test {

// A scripted media engine: operations are logged and answered from fields the test sets;
// the test raises the events itself, in the orders the real engine does.
class FakeMediaControl : public MediaControl {
public:
    QString QuerySource() const override { return source; }
    void LoadSource(const QString& location) override {
        log << "LoadSource:" + location;
        if (refuseLoads) throw KorvelError("Cannot open " + location);
        source = location;
    }
    int QueryVolume() const override { return volume; }
    void ApplyVolume(int value) override { log << QStringLiteral("ApplyVolume:%1").arg(value); }
    void ApplyMute(bool mute) override { log << QStringLiteral("ApplyMute:%1").arg(mute); }
    void StopPlay() override { log << "StopPlay"; }
    void StartPlay() override { log << "StartPlay"; }
    void PausePlay() override { log << "PausePlay"; }
    State QueryState() const override { return state; }
    std::int64_t QueryLength() const override { return length; }
    QString QueryTitle() const override { return title; }
    int QueryImageWidth() const override { return width; }
    int QueryImageHeight() const override { return height; }
    void SeekTo(std::int64_t ms) override { log << QStringLiteral("SeekTo:%1").arg(ms); }
    bool QueryFullScreen() const override { return fullScreen; }
    void EnterFullScreen() override {
        log << "EnterFullScreen";
        fullScreen = true;
    }
    void OptionSwitch1(bool on) override { log << QStringLiteral("OptionSwitch1:%1").arg(on); }
    void OptionSwitch2(bool on) override { log << QStringLiteral("OptionSwitch2:%1").arg(on); }
    void OptionSwitch3(bool on) override { log << QStringLiteral("OptionSwitch3:%1").arg(on); }
    MediaTracks QueryTracks() const override { return tracks; }
    void SelectTrack(MediaTrack::Kind kind, int id) override {
        log << QStringLiteral("SelectTrack:%1,%2").arg(int(kind)).arg(id);
    }
    void AddSubtitles(const QString& location) override { log << "AddSubtitles:" + location; }

    // Operations of the given kind, in order ("SeekTo" gives {"SeekTo:5000", ...}).
    QStringList calls(const QString& kind) const { return log.filter(kind + ":"); }

    QStringList log;
    QString source;
    QString title;
    int volume = 255;
    std::int64_t length = 0;
    State state = Closed;
    int width = 320;
    int height = 240;
    bool fullScreen = false;
    bool refuseLoads = false;
    MediaTracks tracks;
};

} // namespace korvel::test
