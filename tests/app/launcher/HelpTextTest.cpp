#include "app/launcher/HelpText.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace korvel {
namespace {

// The launcher picks --help's language as the windows pick theirs: Qt's order of LANGUAGE,
// LC_ALL, LC_MESSAGES and LANG; a language with no text of its own reads English; C and
// POSIX read the source text.
TEST(HelpText, LanguageFollowsTheEnvironmentAsTheWindowsDo) {
    struct Row {
        std::map<std::string, std::string> environment;
        const char* language;
    };
    const Row rows[] = {
        {{}, ""},
        {{{"LANG", "C"}}, ""},
        {{{"LANG", "C.UTF-8"}}, ""},
        {{{"LANG", "POSIX"}}, ""},
        {{{"LANG", "ja_JP.UTF-8"}}, "ja"},
        {{{"LANG", "en_US.UTF-8"}}, "en"},
        {{{"LANG", "de_DE.UTF-8"}}, "en"},
        {{{"LANG", "ja_JP.UTF-8"}, {"LC_ALL", "C"}}, ""},
        {{{"LANG", "C"}, {"LC_MESSAGES", "ja_JP.UTF-8"}}, "ja"},
        {{{"LANG", "ja_JP.UTF-8"}, {"LC_MESSAGES", ""}}, "ja"},
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "ja:en"}}, "ja"},
        {{{"LANG", "ja_JP.UTF-8"}, {"LANGUAGE", "fr:de"}}, "en"},
        {{{"LANG", "ja_JP.UTF-8"}, {"LANGUAGE", "fr:ja_JP"}}, "ja"},
        {{{"LANG", "C"}, {"LANGUAGE", "ja"}}, "ja"},
        {{{"LANG", "C"}, {"LANGUAGE", "::fr::ja:"}}, "ja"},
        {{{"LANG", "ja_JP.UTF-8"}, {"LANGUAGE", ":"}}, "ja"},
    };
    for (const Row& row : rows) {
        const auto environment = [&row](const char* name) -> const char* {
            const auto found = row.environment.find(name);
            return found == row.environment.end() ? nullptr : found->second.c_str();
        };
        std::string shown;
        for (const auto& [name, value] : row.environment) shown += name + "=" + value + " ";
        EXPECT_EQ(HelpText::language(environment), row.language) << shown;
    }
}

TEST(HelpText, JapaneseTextNamesTheSameOptions) {
    const std::string source = HelpText::text("");
    const std::string japanese = HelpText::text("ja");
    EXPECT_EQ(HelpText::text("en"), source);
    EXPECT_TRUE(source.starts_with("Usage: korvel [CLIP]\n"));
    EXPECT_TRUE(japanese.starts_with("使い方: korvel [クリップ]\n"));
    for (const char* named : {"  --help ", "  --version ", "./--help"}) {
        EXPECT_NE(japanese.find(named), std::string::npos) << named;
    }
}

} // namespace
} // namespace korvel
