#pragma once

namespace korvel {

// Everything that keeps the engine to playing what it is given: no configuration files,
// scripts, helpers, key bindings, on-screen display, remembered positions or disk caches.
// keep-open=always keeps the last frame at the end, so seeking back works there, and never
// lets the engine move on to another entry by itself. Frames are drawn the moment they come
// (video-timing-offset 0) unless a large picture is drawn with OpenGL (FrameLeadPixels). The
// picture view may pick the video track again; that choice is for one clip only
// (reset-on-next-file). A clip whose sound cannot be played plays silently, as a clip with a
// picture would (audio-fallback-to-null), rather than failing. Sound goes first to the PulseAudio
// protocol, which every desktop's sound server speaks (PipeWire's too), and only then to the
// engine's usual order: that spares loading a second sound client's libraries beside it.
// clang-format off
inline constexpr const char* EngineOptions[][2] = {
    {"config", "no"}, {"load-scripts", "no"}, {"ytdl", "no"}, {"osc", "no"},
    {"load-stats-overlay", "no"}, {"load-osd-console", "no"}, {"load-auto-profiles", "no"},
    {"use-filedir-conf", "no"}, {"osd-level", "0"}, {"osd-on-seek", "no"}, {"terminal", "no"},
    {"input-terminal", "no"}, {"input-default-bindings", "no"}, {"input-builtin-bindings", "no"},
    {"input-vo-keyboard", "no"}, {"input-media-keys", "no"}, {"input-cursor", "no"},
    {"cursor-autohide", "no"}, {"save-position-on-quit", "no"}, {"resume-playback", "no"},
    {"load-unsafe-playlists", "no"}, {"cache-on-disk", "no"}, {"volume-max", "100"},
    {"keep-open", "always"}, {"idle", "yes"}, {"pause", "yes"}, {"keepaspect", "no"},
    {"hwdec", "no"}, {"video-timing-offset", "0"}, {"reset-on-next-file", "vid"},
    {"audio-fallback-to-null", "yes"}, {"ao", "pulse,"}};
// clang-format on

// A picture of at least FrameLeadPixels has each frame drawn FrameLeadSeconds before its due
// time (the engine's own default), so that a busy machine, or one drawing without a graphics
// processor, still shows it in time where drawing it only when due would drop it. A smaller
// picture draws in a fraction of a frame's time; it is drawn when due, for a frame drawn ahead
// waits for its time before it is shown, and a hand-off or a seek waits with it. The first
// frame of a clip or after a seek is due at once either way.
inline constexpr double FrameLeadSeconds = 0.05;
inline constexpr long long FrameLeadPixels = 1280 * 720;

} // namespace korvel
