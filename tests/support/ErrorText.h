#pragma once

#include "base/KorvelError.h"

#include <QString>

#include <functional>

namespace korvel::test {

// The text of the KorvelError that `action` raises; empty when it raises none.
inline QString errorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const KorvelError& error) {
        return error.text();
    }
    return {};
}

} // namespace korvel::test
