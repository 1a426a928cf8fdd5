#include "ui/StartStateHint.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <cstring>

namespace korvel {

namespace {

// The window manager hints as the X protocol lays them out: nine 32-bit fields.
constexpr std::size_t HintFields = 9;
constexpr std::uint32_t StateHintFlag = 1u << 1;
constexpr std::size_t FlagsField = 0;
constexpr std::size_t InitialStateField = 2;
constexpr std::uint32_t NormalState = 1;

// The X server's connection where the windows are X windows; none on other platforms (the
// offscreen one may speak to an X server of its own, for OpenGL only).
xcb_connection_t* xcbConnection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

} // namespace

void StartStateHint::setNormal(const QWindow* window) {
    xcb_connection_t* connection = xcbConnection();
    if (!window || !connection || !window->handle()) return;
    const auto id = xcb_window_t(window->winId());
    std::array<std::uint32_t, HintFields> hints{};
    const xcb_get_property_cookie_t cookie = xcb_get_property(
        connection, 0, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, std::uint32_t(HintFields));
    if (xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
        if (reply->format == 32) {
            const int length = xcb_get_property_value_length(reply);
            std::memcpy(hints.data(), xcb_get_property_value(reply),
                        std::min(std::size_t(std::max(length, 0)), sizeof hints));
        }
        std::free(reply);
    }
    if ((hints[FlagsField] & StateHintFlag) && hints[InitialStateField] == NormalState) return;
    hints[FlagsField] |= StateHintFlag;
    hints[InitialStateField] = NormalState;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS,
                        32, std::uint32_t(HintFields), hints.data());
    xcb_flush(connection);
}

} // namespace korvel
