#pragma once

#include "base/Version.h"

#include <QString>

namespace korvel {

// The program's own error texts, each written once. Texts with %1 (and %2) are completed
// with QString::arg where they are raised. The Japanese texts are the ones the built-in
// skins' users have always seen; the English ones are ours.
namespace FixedTexts {

// The application title: the text of the program's one task-bar entry (the player panel's
// title) and the error box's caption.
inline const QString ApplicationTitle = QStringLiteral("Korvel " KORVEL_VERSION);

// Conversions and ranges.
inline const QString NotAnInteger = QStringLiteral("'%1' は整数ではありません");
inline const QString NotATime = QStringLiteral("'%1' は正しい時刻ではありません");
inline const QString RangeCheck = QStringLiteral("範囲チェックエラー");
inline const QString ListIndex = QStringLiteral("リストのインデックスが範囲を超えています (%1)");

// Skins and their images.
inline const QString ResourceMissing = QStringLiteral("%1 リソースが見つかりません");
inline const QString BadBitmap = QStringLiteral("ビットマップイメージが不正です");
inline const QString JpegError = QStringLiteral("JPEG エラー #%1");
inline const QString DropOnForm = QStringLiteral("Please Drop on a Form");

// The list.
inline const QString ListFull = QStringLiteral("The playlist is full: it holds at most %1 entries");

inline const QString ListLeftOut =
    QStringLiteral("The playlist holds at most %1 entries: %2 were left out");
inline const QString ListLeftOutOne =
    QStringLiteral("The playlist holds at most %1 entries: 1 was left out");
inline const QString ListTooLarge =
    QStringLiteral("The playlist's entries are kept in at most %1 bytes: %2 were left out");
inline const QString ListTooLargeOne =
    QStringLiteral("The playlist's entries are kept in at most %1 bytes: 1 was left out");

// The media engine and what it is given.
inline const QString CannotOpen = QStringLiteral("Cannot open %1: %2");
inline const QString NothingToOpen = QStringLiteral("Nothing to open");
inline const QString EngineRefused = QStringLiteral("The media engine refused %1: %2");
inline const QString EngineStart = QStringLiteral("Cannot start the media engine");
inline const QString EngineOption = QStringLiteral("Cannot start the media engine: option %1: %2");
inline const QString CannotPlay = QStringLiteral("Cannot play %1: %2");
inline const QString NoPicture = QStringLiteral("the picture could not be set up");
inline const QString NoAnswer = QStringLiteral("no answer within %1 s");
inline const QString CannotSeek = QStringLiteral("Cannot seek");
inline const QString CannotStop = QStringLiteral("Cannot stop");
inline const QString VolumeRange = QStringLiteral("Volume must be 0..100");
inline const QString CannotShowPicture = QStringLiteral("Cannot show the picture: %1");

// The application.
inline const QString TerminationWatch = QStringLiteral("Cannot watch for termination signals");
inline const QString HandOffListen =
    QStringLiteral("Cannot receive clips from later starts of Korvel at %1: %2");

// Playlist files.
inline const QString CannotReadList = QStringLiteral("Cannot read the playlist %1: %2");
inline const QString CannotWriteList = QStringLiteral("Cannot write the playlist %1: %2");
inline const QString ListNotOfItsKind = QStringLiteral("it is not a list in the %1 format");
inline const QString ListNotWellFormed = QStringLiteral("it is not well-formed XML (line %1: %2)");
inline const QString ListFileTooLarge = QStringLiteral("it is larger than %1 bytes");
inline const QString ListCountWrong =
    QStringLiteral("The playlist %1 says it holds %2 entries but holds %3: those were added");
inline const QString RamLineRefused =
    QStringLiteral("%1 was not written to the playlist %2: a list line cannot hold it");

// The settings file.
inline const QString SettingsRead = QStringLiteral("Cannot read the settings from %1: %2");
inline const QString SettingsSave = QStringLiteral("Cannot save the settings to %1: %2");
inline const QString SettingsTooLarge = QStringLiteral("the file is larger than %1 bytes");
inline const QString SettingsWouldBeTooLarge =
    QStringLiteral("the file would be larger than %1 bytes, more than Korvel reads back");
inline const QString SettingsNotUnderstood =
    QStringLiteral("Some lines of the settings file %1 were not understood (the first is line "
                   "%2); Korvel keeps them as they stand");
inline const QString SettingsNotAFile = QStringLiteral("it is not a regular file");
inline const QString NoSettingsFolder =
    QStringLiteral("Cannot find a folder for the settings: HOME is not set");

} // namespace FixedTexts
} // namespace korvel
