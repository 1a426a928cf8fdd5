#pragma once

#include "ui/ErrorBox.h"

#include <QStringList>

namespace korvel::test {

// Collects what the error box would show, for one test.
class ErrorCapture {
public:
    ErrorCapture() {
        ErrorBox::setSink([this](const QString& text) { texts.append(text); });
    }
    ~ErrorCapture() { ErrorBox::setSink({}); }
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;

    QStringList texts;
};

} // namespace korvel::test
