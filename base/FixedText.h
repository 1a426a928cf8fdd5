#pragma once

#include <QString>

#include <utility>

namespace korvel {

// One of the program's fixed texts: its source text, written once where it is defined and
// marked for the catalogues, and taken in the user's language each time it is shown. No
// catalogue is loaded under the C locale, so there the text is the source text exactly.
class FixedText {
public:
    // The catalogues' context of the error texts (FixedTexts.h).
    static constexpr const char* ErrorContext = "FixedTexts";

    explicit constexpr FixedText(const char* source) : FixedText(ErrorContext, source) {}
    constexpr FixedText(const char* context, const char* source)
        : m_context(context), m_source(source) {}

    constexpr const char* context() const { return m_context; }
    constexpr const char* source() const { return m_source; }

    // The text in the user's language.
    QString text() const;
    operator QString() const { return text(); }

    template <typename... Args>
    QString arg(Args&&... args) const {
        return text().arg(std::forward<Args>(args)...);
    }

private:
    const char* m_context;
    const char* m_source;
};

} // namespace korvel
