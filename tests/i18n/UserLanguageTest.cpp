#include "ui/UserLanguage.h"
#include "../support/SkinTestSupport.h"
#include "base/FixedTexts.h"
#include "playlist/PlayListTexts.h"
#include "skin/SkinHint.h"

#include <QFile>
#include <QTranslator>

#include <gtest/gtest.h>

namespace korvel {
namespace {

struct Marked {
    const char* context;
    QByteArray source;
};

// Every text Korvel can show that the catalogues translate: the fixed-text tables and each
// element's hint in both built-in skins.
std::vector<Marked> shownTexts() {
    std::vector<Marked> texts;
    for (const FixedText& text : FixedTexts::All) texts.push_back({text.context(), text.source()});
    for (const FixedText& text : PlayListTexts::All) {
        texts.push_back({text.context(), text.source()});
    }
    for (const char* skin : {"Skin", "ListSkin"}) {
        test::FakeWindow window;
        SkinEngine engine(&window);
        engine.LoadSkin(skin);
        for (const HotAreaInfoRec& area : engine.model().HotAreas) {
            texts.push_back({SkinHint::Context, area.Hint.toUtf8()});
        }
        for (const TrackBarInfoRec& bar : engine.model().TrackBars) {
            texts.push_back({SkinHint::Context, bar.Hint.toUtf8()});
        }
    }
    return texts;
}

// How many texts a table's header marks for the catalogues.
int markedIn(const char* header) {
    QFile file(QStringLiteral(KORVEL_SOURCE_DIR "/") + QLatin1String(header));
    if (!file.open(QIODevice::ReadOnly)) return -1;
    return int(file.readAll().count("QT_TRANSLATE_NOOP("));
}

// Fault: a text that can be shown has no finished translation in a catalogue (it would be
// shown in the other language there), or a marked text is missing from its table's list.
TEST(Catalogues, EveryShownTextHasAFinishedTranslationInBoth) {
    EXPECT_EQ(markedIn("base/FixedTexts.h"), int(FixedTexts::All.size()));
    EXPECT_EQ(markedIn("playlist/PlayListTexts.h"), int(PlayListTexts::All.size()));
    const std::vector<Marked> texts = shownTexts();
    ASSERT_GT(texts.size(), FixedTexts::All.size() + 30); // both skins' hints were read
    for (const char* catalogue : {"korvel_ja", "korvel_en"}) {
        QTranslator translator;
        ASSERT_TRUE(translator.load(QLatin1String(catalogue), UserLanguage::Folder)) << catalogue;
        for (const Marked& text : texts) {
            EXPECT_FALSE(translator.translate(text.context, text.source.constData()).isEmpty())
                << catalogue << ": " << text.context << ": " << text.source.constData();
        }
    }
}

// Under Japanese an English program text is Japanese, under any other language a Japanese
// hint is English, and under C and POSIX every text is its source text.
TEST(UserLanguage, ChoosesTheCatalogueFromTheLocale) {
    struct Row {
        QLocale locale;
        const char* catalogue;
        QString seek;       // a program text
        QString notInteger; // a design text with its argument
        QString playHint;   // a skin's hint
    };
    const QString integerJa = QStringLiteral("'x' は整数ではありません");
    const QString integerEn = QStringLiteral("'x' is not a valid integer value");
    const Row rows[] = {
        {QLocale(QStringLiteral("ja_JP")), "ja", "再生位置を移動できません", integerJa,
         "再生(Ctrl+P)"},
        {QLocale(QStringLiteral("en_US")), "en", "Cannot seek", integerEn, "Play (Ctrl+P)"},
        {QLocale(QStringLiteral("de_DE")), "en", "Cannot seek", integerEn, "Play (Ctrl+P)"},
        {QLocale::c(), "", "Cannot seek", integerJa, "再生(Ctrl+P)"},
    };
    for (const Row& row : rows) {
        const UserLanguage language(row.locale);
        EXPECT_EQ(language.catalogue(), QLatin1String(row.catalogue))
            << row.locale.name().toStdString();
        EXPECT_EQ(FixedTexts::CannotSeek.text(), row.seek) << row.locale.name().toStdString();
        EXPECT_EQ(FixedTexts::NotAnInteger.arg(u"x"), row.notInteger)
            << row.locale.name().toStdString();
        EXPECT_EQ(SkinHint::shown(QStringLiteral("再生(Ctrl+P)")), row.playHint)
            << row.locale.name().toStdString();
    }
    // Nothing stays installed once the language is gone.
    EXPECT_EQ(SkinHint::shown(QStringLiteral("ボリューム")), QStringLiteral("ボリューム"));
}

} // namespace
} // namespace korvel
