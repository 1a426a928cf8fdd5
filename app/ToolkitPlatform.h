#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvel {

// Which of the toolkit's window-system platforms the player runs on. The skinned windows
// stand where the user put them, by the pixel, and come back there: only an X server lets a
// program place its windows and read back where they are. In a Wayland session with an X
// server beside it (Xwayland) the toolkit would take Wayland, so the player asks for X itself;
// a platform the user named in QT_QPA_PLATFORM or with "-platform" always wins.
class ToolkitPlatform {
public:
    // An environment variable's value, or nullptr when it is not set (as ::getenv).
    using Environment = std::function<const char*(const char*)>;

    // What to give the toolkit's "-platform" option, or nothing to leave the choice to the
    // toolkit: when the user chose, when there is no Wayland session (the toolkit takes X
    // then), or when DISPLAY names no X server. Wayland stays the fallback should the X
    // server not answer.
    static std::optional<std::string> choose(const Environment& environment,
                                             const std::vector<std::string>& toolkitArguments);

    // The toolkit's way to OpenGL on X (its QT_XCB_GL_INTEGRATION), or nothing for its own
    // default, GLX: a software rasteriser's frames reach the X server through GLX in memory
    // shared with it, where through EGL each is copied down the connection. EGL only where the
    // user asked for a hardware decoder (KORVEL_HWDEC): VA-API's frames reach an OpenGL
    // picture without a copy only through EGL. The user's own choice always wins.
    static std::optional<std::string> glIntegration(const Environment& environment);
};

} // namespace korvel
