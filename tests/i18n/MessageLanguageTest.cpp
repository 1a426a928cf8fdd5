#include "app/HandOffServer.h"
#include "base/KorvelError.h"
#include "base/SystemErrorText.h"
#include "playlist/PlayListModel.h"
#include "playlist/RamFile.h"
#include "playlist/SettingsFile.h"
#include "playlist/XspfFile.h"
#include "ui/ErrorBox.h"
#include "ui/UserLanguage.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

namespace korvel {
namespace {

QString failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const KorvelError& error) {
        return error.text();
    }
    return {};
}

// Fault: the system's reason inside a message is in the system's language, not the one the
// message is in (an English reason in a Japanese sentence, a German one in an English one).
TEST(MessageLanguage, SystemReasonsFollowTheMessage) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString settings = dir.filePath(QStringLiteral("blocker/korvel.ini"));
    const QString list = dir.filePath(QStringLiteral("missing/list.ram"));
    struct Row {
        const char* locale;
        QString settingsSave; // the reason found from the error number
        QString listSave;     // the reason read back from what the file class said
    };
    const Row rows[] = {
        {"ja_JP", settings + QStringLiteral(" に設定を保存できません: ディレクトリではありません"),
         QStringLiteral(
             "プレイリスト %1 を書き込めません: そのようなファイルやディレクトリはありません")
             .arg(list)},
        {"en_US", QStringLiteral("Cannot save the settings to %1: Not a directory").arg(settings),
         QStringLiteral("Cannot write the playlist %1: No such file or directory").arg(list)},
    };
    for (const Row& row : rows) {
        const UserLanguage language{QLocale(QLatin1String(row.locale))};
        EXPECT_EQ(failureOf([&] { SettingsFile::write(settings, SettingsData{}); }),
                  row.settingsSave)
            << row.locale;
        EXPECT_EQ(failureOf([&] { RamFile::SaveRamFile(list, PlayListModel()); }), row.listSave)
            << row.locale;
    }
}

// Fault: listening for later starts failed with the toolkit's English reason ("Name error")
// inside a Japanese sentence; its causes are told in Korvel's words, in both languages.
TEST(MessageLanguage, HandOffListenFailuresAreInOneLanguage) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing/Korvel2.TForm3"));
    const QString tooLong = dir.filePath(QString(120, u'x'));
    const struct {
        const char* locale;
        QString endpoint;
        QString text;
    } rows[] = {
        {"ja_JP", missing,
         QStringLiteral("後から起動した Korvel のクリップを %1 で受け取れません: "
                        "そのようなファイルやディレクトリはありません")
             .arg(missing)},
        {"ja_JP", tooLong,
         QStringLiteral("後から起動した Korvel のクリップを %1 で受け取れません: "
                        "ファイル名が長すぎます")
             .arg(tooLong)},
        {"en_US", missing,
         QStringLiteral("Cannot receive clips from later starts of Korvel at %1: No such file or "
                        "directory")
             .arg(missing)},
        {"en_US", tooLong,
         QStringLiteral(
             "Cannot receive clips from later starts of Korvel at %1: File name too long")
             .arg(tooLong)},
    };
    for (const auto& row : rows) {
        const UserLanguage language{QLocale(QLatin1String(row.locale))};
        HandOffServer server(row.endpoint);
        EXPECT_EQ(failureOf([&] { server.listen(); }), row.text) << row.locale;
    }
}

// Fault: an XSPF list that is not well-formed was told with the XML reader's English reason
// ("Opening and ending tag mismatch.") inside a Japanese sentence.
TEST(MessageLanguage, BrokenXmlListsAreToldInOneLanguage) {
    const UserLanguage japanese{QLocale(QStringLiteral("ja_JP"))};
    EXPECT_EQ(failureOf([] { XspfFile::ReadXspfBytes("<playlist><trackList></playlist>"); }),
              QStringLiteral("整形式の XML ではありません (1 行目、32 列目)"));
    EXPECT_EQ(failureOf([] { XspfFile::ReadXspfBytes("<playlist>\n<trackList>"); }),
              QStringLiteral("整形式の XML ではありません: 完結する前に 2 行目で終わっています"));
}

// A reason Korvel has no words of its own for is the system's English text with its short
// name, never the locale's; a text that is not the system's is left as it was.
TEST(MessageLanguage, OtherReasonsAreNamed) {
    const UserLanguage japanese{QLocale(QStringLiteral("ja_JP"))};
    EXPECT_EQ(SystemErrorText::of(EXDEV), QStringLiteral("システムのエラー EXDEV"));
    EXPECT_EQ(SystemErrorText::fromSystem(qt_error_string(ENOSPC)),
              QStringLiteral("デバイスに空きがありません"));
    EXPECT_EQ(SystemErrorText::fromSystem(QStringLiteral("Unknown error")),
              QStringLiteral("Unknown error"));
}

// Fault: a Japanese sentence in the error box ends with the Latin full stop.
TEST(MessageLanguage, TheErrorBoxEndsASentenceInItsLanguage) {
    const struct {
        const char* locale;
        QString text;
        QString shown;
    } rows[] = {
        {"ja_JP", QStringLiteral("範囲チェックエラー"), QStringLiteral("範囲チェックエラー。")},
        {"ja_JP", QStringLiteral("終わりました。"), QStringLiteral("終わりました。")},
        {"ja_JP", QStringLiteral("(5)"), QStringLiteral("(5)")},
        {"en_US", QStringLiteral("Cannot seek"), QStringLiteral("Cannot seek.")},
        {"en_US", QStringLiteral("Done."), QStringLiteral("Done.")},
    };
    for (const auto& row : rows) {
        const UserLanguage language{QLocale(QLatin1String(row.locale))};
        EXPECT_EQ(ErrorBox::withFullStop(row.text), row.shown) << row.locale;
    }
}

} // namespace
} // namespace korvel
