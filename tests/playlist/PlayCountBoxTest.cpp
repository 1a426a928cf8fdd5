#include "playlist/PlayCountBox.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QLocale>
#include <QTest>

using korvel::PlayCountBox;

namespace {

// Makes `locale` the default for one test, as a user's environment would.
class DefaultLocale {
public:
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(m_saved); }
    DefaultLocale(const DefaultLocale&) = delete;
    DefaultLocale& operator=(const DefaultLocale&) = delete;

private:
    QLocale m_saved;
};

} // namespace

// Fault: under a locale with other digits the box showed them, read its own text as no
// number, and so rewrote every count to 1.
TEST(PlayCountBox, ShowsAndTakesAsciiDigitsInEveryLocale) {
    const QLocale locales[] = {QLocale(QLocale::Arabic, QLocale::Egypt),
                               QLocale(QLocale::Persian, QLocale::Iran),
                               QLocale(QLocale::Bangla, QLocale::Bangladesh),
                               QLocale(QLocale::English, QLocale::UnitedStates)};
    const QLocale before;
    for (const QLocale& locale : locales) {
        SCOPED_TRACE(locale.name().toStdString());
        const DefaultLocale chosen(locale);
        PlayCountBox box;
        box.setValue(7);
        EXPECT_EQ(box.text(), "7");
        EXPECT_EQ(box.textValue(), 7);
        box.setValue(99);
        EXPECT_EQ(box.text(), "99");
        EXPECT_EQ(box.textValue(), 99);

        QLineEdit* typing = box.findChild<QLineEdit*>();
        ASSERT_NE(typing, nullptr);
        typing->selectAll();
        QTest::keyClicks(typing, "12");
        EXPECT_EQ(box.text(), "12");
        EXPECT_EQ(box.textValue(), 12);
        EXPECT_EQ(box.value(), 12);
    }
    EXPECT_EQ(QLocale(), before);
}
