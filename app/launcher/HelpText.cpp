#include "app/launcher/HelpText.h"

#include <algorithm>
#include <vector>

namespace korvel {

namespace {

// The source text; also the English one.
constexpr const char* Source =
    "Usage: korvel [CLIP]\n"
    "Plays CLIP, a media file or a stream URL. When Korvel is running already, the\n"
    "running player takes CLIP and plays it; this start ends once it has.\n"
    "\n"
    "  --help     show this text and end\n"
    "  --version  show the version and end\n"
    "  --export-skins DIR\n"
    "             write the built-in skins into DIR, to start a skin of your own\n"
    "\n"
    "Any other first argument, \"--\" and \"-x\" included, is a clip; to play a file\n"
    "named --help, write ./--help. Further arguments are ignored.\n";

constexpr const char* Japanese =
    "使い方: korvel [クリップ]\n"
    "クリップ (メディアファイルかストリームの URL) を再生します。Korvel がすでに\n"
    "動いているときは、そのプレーヤーがクリップを受け取って再生し、この起動は\n"
    "それを見届けて終わります。\n"
    "\n"
    "  --help     この説明を表示して終わります\n"
    "  --version  バージョンを表示して終わります\n"
    "  --export-skins フォルダー\n"
    "             組み込みのスキンをフォルダーに書き出します (自分のスキンの出発点に)\n"
    "\n"
    "ほかの最初の引数は \"--\" や \"-x\" も含めてすべてクリップです。--help という\n"
    "名前のファイルを再生するには ./--help と書きます。2 つ目からの引数は無視します。\n";

// The languages asked for, most wanted first, as the toolkit reads them.
std::vector<std::string> wanted(const HelpText::Environment& environment) {
    std::vector<std::string> languages;
    const char* list = environment("LANGUAGE");
    if (list != nullptr && *list != '\0') {
        // Split by hand: a string stream would build the standard library's locale, which the
        // player would then hold (0.3 MB) for as long as it runs.
        const std::string all(list);
        for (std::size_t start = 0; start <= all.size();) {
            const std::size_t end = std::min(all.find(':', start), all.size());
            if (end > start) languages.push_back(all.substr(start, end - start));
            start = end + 1;
        }
        // Only colons name no language: the locale's variables below do.
        if (!languages.empty()) return languages;
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = environment(name);
        if (value != nullptr && *value != '\0') return {value};
    }
    return {"C"};
}

// The language part of a locale name: "ja" of "ja_JP.UTF-8", "C" of "C.UTF-8".
std::string languageOf(const std::string& locale) {
    return locale.substr(0, locale.find_first_of("_-.@"));
}

} // namespace

std::string HelpText::language(const Environment& environment) {
    const std::vector<std::string> languages = wanted(environment);
    const std::string first = languageOf(languages.front());
    if (first == "C" || first == "POSIX") return {};
    for (const std::string& locale : languages) {
        const std::string language = languageOf(locale);
        if (language == "ja" || language == "en") return language;
    }
    return "en";
}

const char* HelpText::text(const std::string& language) {
    return language == "ja" ? Japanese : Source;
}

} // namespace korvel
