#pragma once

#include <QStringList>

namespace korvel::test {

// Whether an EWMH window manager runs on the display (asked with wmctrl).
bool windowManagerRuns();

// Runs xdotool with `arguments`; false when it cannot run or fails.
bool xdotool(const QStringList& arguments);

} // namespace korvel::test
