#include "MediaTestSupport.h"

#include "engine/EngineLibraryOrder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <dlfcn.h>

using namespace korvel;
using namespace korvel::test;

namespace {

bool engineLibraryMapped() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/libmpv.so");
}

// Ends the (fresh) test process with `code` and says why when `holds` is false.
void require(bool holds, int code, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "%s\n", what);
    std::exit(code);
}

// Runs in a process of its own, where nothing has opened the engine yet.
void settingsBeforeTheFirstClip() {
    QTemporaryDir sound;
    require(QDir::setCurrent(sound.path()), 9, "no folder for the sound");
    auto control =
        makeControl(MpvMediaControl::Options::Picture::Software, 20000, QStringLiteral("pcm"));
    require(!engineLibraryMapped(), 2, "opened before anything asked for it");
    require(control->pictureWidget() != nullptr, 3, "no picture area before the first clip");
    control->ApplyVolume(40);
    control->ApplyMute(true);
    control->OptionSwitch1(true);
    control->OptionSwitch2(true);
    control->OptionSwitch3(true);
    control->StartPlay();
    control->SeekTo(500);
    require(control->QueryVolume() == 102, 4, "volume set before the engine not read back");
    try {
        control->LoadSource(clip(QStringLiteral("no such clip.mp4")));
        require(false, 5, "a missing clip was taken");
    } catch (const KorvelError&) {
    }
    require(!engineLibraryMapped(), 6, "opened by settings or a refused clip");

    Recorder recorder(*control);
    playThrough(*control, recorder, QStringLiteral("clip.mp4"));
    require(engineLibraryMapped(), 7, "a clip opened without the engine library");
    require(control->QueryVolume() == 102 && loudestSound(sound.path()) == 0.0, 8,
            "settings made before the engine were lost");
    std::exit(0);
}

// Runs in a process of its own: the engine library opened as any program would open it
// brings every library the player opens before it, and no other.
void orderNamesOnlyWhatTheEngineBrings() {
    require(EngineLibraryOrder.size() > 100, 2, "the order lists too few libraries");
    const auto open = [](const char* name) { return ::dlopen(name, RTLD_LAZY | RTLD_NOLOAD); };
    // Those the test program has open already (the toolkit's) prove nothing.
    require(std::count_if(EngineLibraryOrder.begin(), EngineLibraryOrder.end(), open) <
                int(EngineLibraryOrder.size()) / 2,
            3, "most of the order was open before the engine");
    require(::dlopen(EngineLibrary, RTLD_LAZY | RTLD_LOCAL) != nullptr, 4, ::dlerror());
    for (const char* name : EngineLibraryOrder) {
        if (open(name) == nullptr) {
            std::fprintf(stderr, "%s is not the engine's\n", name);
            std::exit(5);
        }
    }
    std::exit(0);
}

} // namespace

// The engine's library and its few hundred dependencies load with the first clip, not with
// the player: what was set before (volume, mute, switches) is where the engine starts.
TEST(EngineStart, TheEngineComesWithTheFirstClip) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(settingsBeforeTheFirstClip(), testing::ExitedWithCode(0), "");
}

TEST(EngineStart, TheLibrariesOpenedFirstAreTheEnginesOwn) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(orderNamesOnlyWhatTheEngineBrings(), testing::ExitedWithCode(0), "");
}
