#include "base/TimeText.h"

#include "base/KorvelError.h"

#include <gtest/gtest.h>

#include <QLocale>

using korvel::KorvelError;
using korvel::TimeText;

namespace {

const QList<QLocale> allLocales =
    QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);

QString notATime(const QString& text) {
    return QStringLiteral("'%1' は正しい時刻ではありません").arg(text);
}

} // namespace

// Fault: a locale whose separator is neither ":" nor "." (an apostrophe, a combining sign)
// wrote marks that could not be read back.
TEST(TimeText, EveryLocaleWritesWhatItReadsBack) {
    ASSERT_GT(allLocales.size(), 100);
    const std::int64_t values[] = {0, 999, 65000, 3723250, 45296789, 86399999};
    for (const QLocale& locale : allLocales) {
        const QChar separator = TimeText::separatorFor(locale);
        EXPECT_TRUE(separator == u':' || separator == u'.')
            << locale.name().toStdString() << " " << locale.timeFormat().toStdString();
        for (const std::int64_t ms : values) {
            const QString text = TimeText::fromMs(ms, separator);
            EXPECT_EQ(TimeText::toMs(text), ms / 1000 * 1000)
                << locale.name().toStdString() << " " << text.toStdString();
        }
    }
    EXPECT_TRUE(TimeText::separator() == u':' || TimeText::separator() == u'.');
}

// Fault: the locale's own separator was lost, or a foreign one kept.
TEST(TimeText, SeparatorFollowsTheLocaleWhereReadable) {
    const struct {
        QLocale locale;
        char16_t separator;
    } cases[] = {
        {QLocale(QLocale::Finnish, QLocale::Finland), u'.'},
        {QLocale(QLocale::Danish, QLocale::Denmark), u'.'},
        {QLocale(QLocale::LowGerman, QLocale::Germany), u'.'},
        {QLocale(QLocale::English, QLocale::UnitedStates), u':'},
        {QLocale(QLocale::German, QLocale::Germany), u':'},
        {QLocale(QLocale::French, QLocale::Canada), u':'},
        {QLocale(QLocale::Dzongkha, QLocale::Bhutan), u':'},
        {QLocale::c(), u':'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TimeText::separatorFor(c.locale), QChar(c.separator))
            << c.locale.name().toStdString();
    }
    EXPECT_EQ(TimeText::fromMs(65000, u'.'), "00.01.05");
}

// Fault: a cell written under one locale did not read back under another, or dropped
// milliseconds were taken for a field (or a field for milliseconds).
TEST(TimeText, ReadsColonsAndDotsWhateverTheLocale) {
    const struct {
        const char* text;
        std::int64_t ms;
    } cases[] = {
        {"00:01:05", 65000},      {"00.01.05", 65000},
        {"1:02", 3720000},        {"1.02", 3720000},
        {"23.59.59", 86399000},   {" 00.00.07 ", 7000},
        {"00:01:05.250", 65000},  {"12:34:56.789", 45296000},
        {"00:01:05.2509", 65000}, {"00.01.05    beyond", 65000},
    };
    for (const auto& c : cases) EXPECT_EQ(TimeText::toMs(c.text), c.ms) << c.text;
}

// Fault: a text that is not a time was read as one, or the error named the wrong text.
TEST(TimeText, RejectsWhatIsNotATime) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"", ""},
        {"1:2:3:4", "1:2:3:4"},
        {"aa:bb", "aa:bb"},
        {"25:00:00", "25:00:00"},
        {"00:60:00", "00:60:00"},
        {"00.60.00", "00.60.00"},
        {"00:00:60", "00:00:60"},
        {"10", "10"},
        {"00:01.05", "00:01.05"},
        {"00.01:05", "00.01:05"},
        {"00.01.05.250", "00.01.05.250"},
        {"00:01:05.", "00:01:05."},
        {"00:01:05.2x", "00:01:05.2x"},
        {"0:1:2:3.4", "0:1:2:3.4"},
        {"000:01:05", "000:01:05"},
        {"+1:02", "+1:02"},
        {"00::05", "00::05"},
        {"٠٠:٠١:٠٥", "٠٠:٠١:٠٥"},
        {"00:00:00:00:00", "00:00:00:00:"},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        try {
            TimeText::toMs(text);
            ADD_FAILURE() << c.text << " was read";
        } catch (const KorvelError& error) {
            EXPECT_EQ(error.text(), notATime(QString::fromUtf8(c.shown))) << c.text;
        }
    }
}

// Fault: a position before the start showed (and was stored) as the end of a day.
TEST(TimeText, WritesTimesOfDayFromZero) {
    const struct {
        std::int64_t ms;
        const char* text;
    } cases[] = {
        {0, "00:00:00"},
        {999, "00:00:00"},
        {65000, "00:01:05"},
        {86399999, "23:59:59"},
        {25 * 3600000LL + 1999, "01:00:01"},
        {-1, "00:00:00"},
        {-2000, "00:00:00"},
        {INT64_MIN, "00:00:00"},
    };
    for (const auto& c : cases) EXPECT_EQ(TimeText::fromMs(c.ms, u':'), c.text) << c.ms;
}
