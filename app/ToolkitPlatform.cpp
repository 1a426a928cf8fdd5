#include "app/ToolkitPlatform.h"

#include <algorithm>
#include <string_view>

namespace korvel {

namespace {

bool isSet(const ToolkitPlatform::Environment& environment, const char* name) {
    const char* value = environment(name);
    return value != nullptr && *value != '\0';
}

// The toolkit reads its option with one dash or two.
bool namesPlatform(const std::vector<std::string>& arguments) {
    return std::any_of(arguments.begin(), arguments.end(), [](const std::string& argument) {
        return argument == "-platform" || argument == "--platform";
    });
}

bool isWaylandSession(const ToolkitPlatform::Environment& environment) {
    const char* session = environment("XDG_SESSION_TYPE");
    return isSet(environment, "WAYLAND_DISPLAY") ||
           (session != nullptr && std::string_view(session) == "wayland");
}

} // namespace

std::optional<std::string>
ToolkitPlatform::choose(const Environment& environment,
                        const std::vector<std::string>& toolkitArguments) {
    if (isSet(environment, "QT_QPA_PLATFORM") || namesPlatform(toolkitArguments)) return {};
    if (!isSet(environment, "DISPLAY") || !isWaylandSession(environment)) return {};
    return "xcb;wayland";
}

std::optional<std::string> ToolkitPlatform::glIntegration(const Environment& environment) {
    if (isSet(environment, "QT_XCB_GL_INTEGRATION") || !isSet(environment, "KORVEL_HWDEC"))
        return {};
    return "xcb_egl";
}

} // namespace korvel
