#pragma once

#include <QString>

#include <stdexcept>

namespace korvel {

// Every failure the user is told about is one of these. The text is exactly what the
// application's error box shows (before the box adds its closing full stop).
class KorvelError : public std::runtime_error {
public:
    explicit KorvelError(const QString& text)
        : std::runtime_error(text.toStdString()), m_text(text) {}

    const QString& text() const noexcept { return m_text; }

private:
    QString m_text;
};

} // namespace korvel
