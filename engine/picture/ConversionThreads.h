#pragma once

#include <QSize>

#include <array>
#include <chrono>
#include <cstddef>

namespace korvel {

// How many threads the engine converts a software frame on (its YUV to RGB conversion, the
// bulk of a software frame's cost). One thread costs the least processor time: the engine's
// own choice, a slice per core, made a 3840x2160 clip at 30 frames a second cost a quarter
// more on two cores, and drop three times as many frames at 60. Slices pay only where a frame
// would otherwise take more than half its time to convert and other cores are free to take
// them; on two cores the decoder keeps both busy.
class ConversionThreads {
public:
    using Duration = std::chrono::steady_clock::duration;

    explicit ConversionThreads(unsigned cores) : m_cores(cores) {}

    // A new frame of `size`, converted in `took`, `since` after the one before (zero for a
    // first frame): the count the engine is to be given now ("1", or "auto" for its own), or
    // nullptr where it stands. Each size starts on one thread; once sliced it stays so.
    const char* converted(QSize size, Duration took, Duration since);

private:
    // Frames a choice is made over: the middle one takes no notice of a pause or a seek.
    static constexpr std::size_t Window = 15;

    unsigned m_cores;
    QSize m_size;
    const char* m_told = nullptr;
    std::array<Duration, Window> m_took{};
    std::array<Duration, Window> m_since{};
    std::size_t m_count = 0;
};

} // namespace korvel
