#include "ui/ErrorBox.h"
#include "base/KorvelError.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <stdexcept>

using namespace korvel;

// The full stop is added only after a character that sorts after it.
TEST(ErrorBox, AddsAFullStopByTheLastCharacter) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"範囲チェックエラー", "範囲チェックエラー."},
        {"JPEG エラー #55", "JPEG エラー #55."},
        {"リストのインデックスが範囲を超えています (5)",
         "リストのインデックスが範囲を超えています (5)"},
        {"Done.", "Done."},
        {"Is it?", "Is it?."},
        {"quoted'", "quoted'"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorBox::withFullStop(QString::fromUtf8(c.text)), QString::fromUtf8(c.shown));
    }
}

// A failure ends its handler there and reaches the box; the caller goes on.
TEST(ErrorBox, RunShowsFailuresAndGoesOn) {
    QStringList shown;
    ErrorBox::setSink([&shown](const QString& text) { shown.append(text); });
    bool after = false;
    ErrorBox::run([&] {
        throw KorvelError(QStringLiteral("範囲チェックエラー"));
        after = true;
    });
    ErrorBox::run([] { throw std::runtime_error("plain failure"); });
    ErrorBox::run([] {});
    ErrorBox::setSink({});
    EXPECT_FALSE(after);
    EXPECT_EQ(shown, QStringList({QString::fromUtf8("範囲チェックエラー."), "plain failure."}));
}
