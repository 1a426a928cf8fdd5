#pragma once

namespace korvel {

// Everything that keeps the engine to playing what it is given: no configuration files,
// scripts, helpers, key bindings, on-screen display, remembered positions or disk caches.
// keep-open=always keeps the last frame at the end, so seeking back works there, and never
// lets the engine move on to another entry by itself. Frames are drawn the moment they come,
// never held back until their due time (video-timing-offset). The picture view may
// pick the video track again; that choice is for one clip only (reset-on-next-file). A clip
// whose sound cannot be played plays silently, as a clip with a picture would
// (audio-fallback-to-null), rather than failing. Sound goes first to the PulseAudio protocol,
// which every desktop's sound server speaks (PipeWire's too), and only then to the engine's
// usual order: that spares loading a second sound client's libraries beside it.
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

} // namespace korvel
