#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>

namespace korvel {

// Every failure the user is told about is one of these. The text is exactly what the
// application's error box shows (before the box adds its closing full stop).
class KorvelError : public std::runtime_error {
public:
    explicit KorvelError(const QString& text)
        : std::runtime_error(text.toStdString()), m_text(text) {}

    // Several failures told in one box: a line each, each ended as the box ends the last one.
    static KorvelError ofLines(QStringList lines) {
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            if (!lines[i].isEmpty() && lines[i].back() > u'.') lines[i] += u'.';
        }
        return KorvelError(lines.join(u'\n'));
    }

    const QString& text() const noexcept { return m_text; }

private:
    QString m_text;
};

} // namespace korvel
