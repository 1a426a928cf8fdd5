#include "app/ToolkitPlatform.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace korvel;

namespace {

struct PlatformCase {
    const char* what;
    std::map<std::string, std::string> environment;
    std::vector<std::string> arguments;
    std::optional<std::string> expected;
};

const std::map<std::string, std::string> WaylandWithX{
    {"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":0"}};

std::map<std::string, std::string> with(std::map<std::string, std::string> environment,
                                        const std::string& name, const std::string& value) {
    environment[name] = value;
    return environment;
}

// The case's environment, as ::getenv would read it.
ToolkitPlatform::Environment lookupIn(const PlatformCase& c) {
    return [&c](const char* name) -> const char* {
        const auto found = c.environment.find(name);
        return found == c.environment.end() ? nullptr : found->second.c_str();
    };
}

} // namespace

// Fault: in a Wayland session with an X server beside it the player runs on Wayland, where its
// windows cannot be placed; or it overrides a platform the user chose; or it asks for X where
// there is none, and does not start.
TEST(ToolkitPlatform, AsksForXInAWaylandSessionOnlyWhenTheUserDidNotChoose) {
    const std::string xFirst = "xcb;wayland";
    const PlatformCase cases[] = {
        {"Wayland session with Xwayland", WaylandWithX, {"korvel"}, xFirst},
        {"only WAYLAND_DISPLAY tells", {{"WAYLAND_DISPLAY", "w"}, {"DISPLAY", ":1"}}, {}, xFirst},
        {"only the session type tells",
         {{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":1"}},
         {},
         xFirst},
        {"the user's platform", with(WaylandWithX, "QT_QPA_PLATFORM", "wayland"), {}, {}},
        {"the user's X", with(WaylandWithX, "QT_QPA_PLATFORM", "xcb"), {}, {}},
        {"an empty QT_QPA_PLATFORM is no choice",
         with(WaylandWithX, "QT_QPA_PLATFORM", ""),
         {},
         xFirst},
        {"the -platform option", WaylandWithX, {"korvel", "-platform", "wayland"}, {}},
        {"the --platform option", WaylandWithX, {"korvel", "--platform", "wayland"}, {}},
        {"no X server", with(WaylandWithX, "DISPLAY", ""), {}, {}},
        {"no DISPLAY", {{"WAYLAND_DISPLAY", "wayland-0"}}, {}, {}},
        {"an X session", {{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}}, {}, {}},
        {"an empty WAYLAND_DISPLAY", {{"WAYLAND_DISPLAY", ""}, {"DISPLAY", ":0"}}, {}, {}},
        {"nothing at all", {}, {}, {}},
    };
    for (const PlatformCase& c : cases) {
        EXPECT_EQ(ToolkitPlatform::choose(lookupIn(c), c.arguments), c.expected) << c.what;
    }
}

// Fault: a software rasteriser's frames are copied to the X server down its connection (EGL),
// or a hardware decoder's frames cannot reach the picture without a copy (GLX), or the user's
// choice of the toolkit's way to OpenGL is overridden.
TEST(ToolkitPlatform, TakesEglOnlyForAHardwareDecoder) {
    const std::optional<std::string> egl = "xcb_egl";
    const PlatformCase cases[] = {
        {"nothing asked", {{"DISPLAY", ":0"}}, {}, {}},
        {"a hardware decoder", {{"KORVEL_HWDEC", "auto-safe"}}, {}, egl},
        {"an empty KORVEL_HWDEC asks for none", {{"KORVEL_HWDEC", ""}}, {}, {}},
        {"the user's GLX",
         {{"KORVEL_HWDEC", "vaapi"}, {"QT_XCB_GL_INTEGRATION", "xcb_glx"}},
         {},
         {}},
        {"the user's EGL", {{"QT_XCB_GL_INTEGRATION", "xcb_egl"}}, {}, {}},
    };
    for (const PlatformCase& c : cases) {
        EXPECT_EQ(ToolkitPlatform::glIntegration(lookupIn(c)), c.expected) << c.what;
    }
}
