#include "base/KorvelError.h"
#include "base/SystemErrorText.h"
#include "playlist/PlayListModel.h"
#include "playlist/RamFile.h"
#include "playlist/SettingsFile.h"
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
