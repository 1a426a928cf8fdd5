#include "playlist/SettingsKeys.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

using namespace korvel;

namespace {

QString sourceText(const char* path) {
    QFile file(QStringLiteral(KORVEL_SOURCE_DIR "/") + QString::fromLatin1(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    return QString::fromUtf8(file.readAll());
}

// The part of `text` from the line `start` up to the next line that begins with `next`.
QString sectionOf(const QString& text, const QString& start, const QString& next) {
    const qsizetype from = text.indexOf(start);
    if (from < 0) return {};
    const qsizetype to = text.indexOf(u'\n' + next, from + start.size());
    return text.mid(from, to < 0 ? -1 : to - from);
}

// The keys a text names, each once, in the order they first appear: every word that the
// text's own markup captures and that is spelled like a key (a capital, then letters and
// digits), with the entry keys (RowData1, RowDataN) taken as their prefix.
QStringList namedKeys(const QString& text, const QRegularExpression& marked) {
    static const QRegularExpression keyLike(QStringLiteral("^[A-Z][A-Za-z]*[0-9N]?$"));
    static const QRegularExpression entryKey(QStringLiteral("^RowData([0-9]+|N)$"));
    QStringList keys;
    for (const QRegularExpressionMatch& match : marked.globalMatch(text)) {
        QString word = match.captured(1);
        if (!keyLike.match(word).hasMatch()) continue;
        if (entryKey.match(word).hasMatch()) word = SettingsKey::RowData.toString();
        if (!keys.contains(word)) keys << word;
    }
    return keys;
}

QStringList table() {
    QStringList keys;
    for (const QStringView key : SettingsKey::InWrittenOrder) keys << key.toString();
    return keys;
}

} // namespace

// Fault: a key renamed, added or dropped in the program while the documentation still tells
// the old set, or the other way round; both must name every key, in the order it is written.
TEST(SettingsKeysDocumented, ReadmeAndManualPageNameTheKeysInOrder) {
    const QString readme = sectionOf(sourceText("README.md"), QStringLiteral("### Settings file"),
                                     QStringLiteral("#"));
    ASSERT_FALSE(readme.isEmpty());
    EXPECT_EQ(namedKeys(readme, QRegularExpression(QStringLiteral("`([^`]+)`"))), table());

    const QRegularExpression bold(QStringLiteral("^\\.BR? (\\S+)"),
                                  QRegularExpression::MultilineOption);
    const struct {
        const char* path;
        const char* files; // the heading of the section on files
    } pages[] = {{"resources/linux/korvel.1", ".SH FILES"},
                 {"resources/linux/korvel.ja.1", ".SH ファイル"}};
    for (const auto& page : pages) {
        const QString manual =
            sectionOf(sourceText(page.path), QString::fromUtf8(page.files), QStringLiteral(".SH"));
        ASSERT_FALSE(manual.isEmpty()) << page.path;
        EXPECT_EQ(namedKeys(manual, bold), table()) << page.path;
    }
}
