#pragma once

#include "base/FixedTexts.h"

#include <QString>

#include <functional>

namespace korvel {

// The application's standard error box: the application title as caption, the error icon,
// and the failure's text with a closing full stop. Every failure ends up here; nothing is
// swallowed and nothing ends the process.
class ErrorBox {
public:
    static inline const QString& Title = FixedTexts::ApplicationTitle;

    // The text as shown: a full stop is added when the last character sorts after it, in
    // the language shown ("。" after a Japanese sentence).
    static QString withFullStop(const QString& text);

    // Shows the box for a failure's text (modal; returns when the user closes it).
    static void show(const QString& text);

    // Runs one handler; a failure ends it there and is shown, and the program goes on.
    static void run(const std::function<void()>& handler);

    // The player is closing on a termination signal: the boxes open now close, and from now
    // on no box waits for a user who is gone; their texts go to the error output instead.
    static void stopWaiting();

    // Where shown texts go instead of a box (tests); an empty sink restores the box.
    using Sink = std::function<void(const QString&)>;
    static void setSink(Sink sink);
};

} // namespace korvel
