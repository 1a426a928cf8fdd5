#pragma once

#include <functional>
#include <string>

namespace korvel {

// The launcher's answer to --help, in the user's language. The launcher links no Qt, so it
// chooses the language from the environment itself, as the player's windows choose theirs
// (UserLanguage): the first of LANGUAGE's languages that Korvel has a text for, else LC_ALL,
// LC_MESSAGES or LANG; English for any other language; the source text under C and POSIX.
class HelpText {
public:
    // An environment variable's value, or nullptr when it is not set (as ::getenv).
    using Environment = std::function<const char*(const char*)>;

    // "ja" or "en" for the text of that language, empty for the source text.
    static std::string language(const Environment& environment);

    // The help text in that language.
    static const char* text(const std::string& language);
};

} // namespace korvel
