#pragma once

#include "base/FixedText.h"
#include "base/Version.h"

#include <QString>
#include <QtGlobal>

#include <array>

namespace korvel {

// The program's own error texts, each written once. Texts with %1 (and %2) are completed
// with QString::arg where they are raised. The Japanese texts are the ones the built-in
// skins' users have always seen; the English ones are ours. Both are source texts: each is
// taken in the user's language when it is raised, from the catalogues in
// resources/translations/ (context "FixedTexts").
namespace FixedTexts {

// The application title: the text of the program's one task-bar entry (the player panel's
// title) and the error box's caption.
inline const QString ApplicationTitle = QStringLiteral("Korvel " KORVEL_VERSION);

// Conversions and ranges.
inline constexpr FixedText NotAnInteger{
    QT_TRANSLATE_NOOP("FixedTexts", "'%1' は整数ではありません")};
inline constexpr FixedText NotATime{
    QT_TRANSLATE_NOOP("FixedTexts", "'%1' は正しい時刻ではありません")};
inline constexpr FixedText RangeCheck{QT_TRANSLATE_NOOP("FixedTexts", "範囲チェックエラー")};
inline constexpr FixedText ListIndex{
    QT_TRANSLATE_NOOP("FixedTexts", "リストのインデックスが範囲を超えています (%1)")};

// Skins and their images.
inline constexpr FixedText ResourceMissing{
    QT_TRANSLATE_NOOP("FixedTexts", "%1 リソースが見つかりません")};
inline constexpr FixedText BadBitmap{
    QT_TRANSLATE_NOOP("FixedTexts", "ビットマップイメージが不正です")};
inline constexpr FixedText JpegError{QT_TRANSLATE_NOOP("FixedTexts", "JPEG エラー #%1")};
inline constexpr FixedText DropOnForm{QT_TRANSLATE_NOOP("FixedTexts", "Please Drop on a Form")};

// The list.
inline constexpr FixedText ListFull{
    QT_TRANSLATE_NOOP("FixedTexts", "The playlist is full: it holds at most %1 entries")};

inline constexpr FixedText ListLeftOut{
    QT_TRANSLATE_NOOP("FixedTexts", "The playlist holds at most %1 entries: %2 were left out")};
inline constexpr FixedText ListLeftOutOne{
    QT_TRANSLATE_NOOP("FixedTexts", "The playlist holds at most %1 entries: 1 was left out")};
inline constexpr FixedText ListTooLarge{QT_TRANSLATE_NOOP(
    "FixedTexts", "The playlist's entries are kept in at most %1 bytes: %2 were left out")};
inline constexpr FixedText ListTooLargeOne{QT_TRANSLATE_NOOP(
    "FixedTexts", "The playlist's entries are kept in at most %1 bytes: 1 was left out")};

// The media engine and what it is given.
inline constexpr FixedText CannotOpen{QT_TRANSLATE_NOOP("FixedTexts", "Cannot open %1: %2")};
inline constexpr FixedText NothingToOpen{QT_TRANSLATE_NOOP("FixedTexts", "Nothing to open")};
// An empty name given as the clip: by the command line or the desktop's media controls.
inline constexpr FixedText EmptyLocation{
    QT_TRANSLATE_NOOP("FixedTexts", "The location is empty: there is no clip to open")};
// Why a location cannot be opened (the second part of CannotOpen).
inline constexpr FixedText NoSuchFile{QT_TRANSLATE_NOOP("FixedTexts", "no such file")};
inline constexpr FixedText NotAMediaFile{QT_TRANSLATE_NOOP("FixedTexts", "not a media file")};
inline constexpr FixedText NotReadable{QT_TRANSLATE_NOOP("FixedTexts", "not readable")};
inline constexpr FixedText NotOnThisComputer{
    QT_TRANSLATE_NOOP("FixedTexts", "not a file on this computer")};
inline constexpr FixedText InvalidName{QT_TRANSLATE_NOOP("FixedTexts", "invalid name")};
inline constexpr FixedText SchemeNotSupported{
    QT_TRANSLATE_NOOP("FixedTexts", "%1 locations are not supported")};
inline constexpr FixedText EngineRefused{
    QT_TRANSLATE_NOOP("FixedTexts", "The media engine refused %1: %2")};
inline constexpr FixedText EngineStart{
    QT_TRANSLATE_NOOP("FixedTexts", "Cannot start the media engine")};
inline constexpr FixedText EngineOption{
    QT_TRANSLATE_NOOP("FixedTexts", "Cannot start the media engine: option %1: %2")};
inline constexpr FixedText CannotPlay{QT_TRANSLATE_NOOP("FixedTexts", "Cannot play %1: %2")};
inline constexpr FixedText NoPicture{
    QT_TRANSLATE_NOOP("FixedTexts", "the picture could not be set up")};
inline constexpr FixedText NoAnswer{QT_TRANSLATE_NOOP("FixedTexts", "no answer within %1 s")};
// Why a clip that opened played nothing (the second part of CannotPlay).
inline constexpr FixedText NothingPlayed{
    QT_TRANSLATE_NOOP("FixedTexts", "it ended before anything in it played")};
inline constexpr FixedText ServerCannotSeek{QT_TRANSLATE_NOOP(
    "FixedTexts", "the server does not let the player move within the file, which this clip "
                  "needs (its index is at its end)")};
inline constexpr FixedText CannotSeek{QT_TRANSLATE_NOOP("FixedTexts", "Cannot seek")};
inline constexpr FixedText CannotStop{QT_TRANSLATE_NOOP("FixedTexts", "Cannot stop")};
inline constexpr FixedText VolumeRange{QT_TRANSLATE_NOOP("FixedTexts", "Volume must be 0..100")};
inline constexpr FixedText CannotShowPicture{
    QT_TRANSLATE_NOOP("FixedTexts", "Cannot show the picture: %1")};

// The application.
inline constexpr FixedText TerminationWatch{
    QT_TRANSLATE_NOOP("FixedTexts", "Cannot watch for termination signals")};
inline constexpr FixedText HandOffListen{
    QT_TRANSLATE_NOOP("FixedTexts", "Cannot receive clips from later starts of Korvel at %1: %2")};
inline constexpr FixedText HandOffNotASocket{QT_TRANSLATE_NOOP(
    "FixedTexts", "Cannot receive clips from later starts of Korvel: %1 is not Korvel's socket "
                  "but something else that stands in its place; Korvel leaves it as it is")};

// Playlist files.
inline constexpr FixedText CannotReadList{
    QT_TRANSLATE_NOOP("FixedTexts", "Cannot read the playlist %1: %2")};
inline constexpr FixedText CannotWriteList{
    QT_TRANSLATE_NOOP("FixedTexts", "Cannot write the playlist %1: %2")};
inline constexpr FixedText ListNotOfItsKind{
    QT_TRANSLATE_NOOP("FixedTexts", "it is not a list in the %1 format")};
inline constexpr FixedText ListNotWellFormed{
    QT_TRANSLATE_NOOP("FixedTexts", "it is not well-formed XML (line %1, column %2)")};
inline constexpr FixedText ListOutsideEntity{QT_TRANSLATE_NOOP(
    "FixedTexts", "it uses the entity &%2; from outside the list, which is not read (line %1)")};
inline constexpr FixedText ListFileTooLarge{
    QT_TRANSLATE_NOOP("FixedTexts", "it is larger than %1 bytes")};
inline constexpr FixedText ListCountWrong{QT_TRANSLATE_NOOP(
    "FixedTexts", "The playlist %1 says it holds %2 entries but holds %3: those were added")};
inline constexpr FixedText RamLineRefused{QT_TRANSLATE_NOOP(
    "FixedTexts", "%1 was not written to the playlist %2: a list line cannot hold it")};
inline constexpr FixedText ListHoldsItself{QT_TRANSLATE_NOOP(
    "FixedTexts",
    "The playlist %1 names %2, a list it is itself part of: that entry was left out")};
inline constexpr FixedText ListsTooDeep{QT_TRANSLATE_NOOP(
    "FixedTexts", "The playlist %1 stands more than %2 lists deep: it was left out")};
inline constexpr FixedText TooManyInnerLists{QT_TRANSLATE_NOOP(
    "FixedTexts", "The playlist %1 takes in at most %2 lists inside it: the rest were left out")};

// The settings file.
inline constexpr FixedText SettingsRead{
    QT_TRANSLATE_NOOP("FixedTexts", "Cannot read the settings from %1: %2")};
inline constexpr FixedText SettingsSave{
    QT_TRANSLATE_NOOP("FixedTexts", "Cannot save the settings to %1: %2")};
inline constexpr FixedText SettingsTooLarge{
    QT_TRANSLATE_NOOP("FixedTexts", "the file is larger than %1 bytes")};
inline constexpr FixedText SettingsWouldBeTooLarge{QT_TRANSLATE_NOOP(
    "FixedTexts", "the file would be larger than %1 bytes, more than Korvel reads back")};
inline constexpr FixedText SettingsNotUnderstood{QT_TRANSLATE_NOOP(
    "FixedTexts", "Some lines of the settings file %1 were not understood (the first is line "
                  "%2); Korvel keeps them as they stand")};
inline constexpr FixedText SettingsRowsKept{QT_TRANSLATE_NOOP(
    "FixedTexts", "The settings file %1 holds %2 entries, more than the list's %3: the list "
                  "shows the first %3, and Korvel keeps the others in the file after them")};
inline constexpr FixedText SettingsNotAFile{
    QT_TRANSLATE_NOOP("FixedTexts", "it is not a regular file")};
// Any file Korvel reads as text (a list too) is refused in the same words.
inline constexpr FixedText NotARegularFile = SettingsNotAFile;
inline constexpr FixedText NoSettingsFolder{
    QT_TRANSLATE_NOOP("FixedTexts", "Cannot find a folder for the settings: HOME is not set")};

// The system's reasons (the second part of a message such as SettingsSave), in the language
// Korvel shows rather than the one the system's own texts happen to be in. Each source text is
// the system's English one, so under the C locale a reason reads exactly as the system's.
inline constexpr FixedText SystemNotPermitted{
    QT_TRANSLATE_NOOP("FixedTexts", "Operation not permitted")};
inline constexpr FixedText SystemNoSuchFile{
    QT_TRANSLATE_NOOP("FixedTexts", "No such file or directory")};
inline constexpr FixedText SystemInputOutput{QT_TRANSLATE_NOOP("FixedTexts", "Input/output error")};
inline constexpr FixedText SystemNoMemory{
    QT_TRANSLATE_NOOP("FixedTexts", "Cannot allocate memory")};
inline constexpr FixedText SystemNoPermission{QT_TRANSLATE_NOOP("FixedTexts", "Permission denied")};
inline constexpr FixedText SystemBusy{QT_TRANSLATE_NOOP("FixedTexts", "Device or resource busy")};
inline constexpr FixedText SystemExists{QT_TRANSLATE_NOOP("FixedTexts", "File exists")};
inline constexpr FixedText SystemNotADirectory{QT_TRANSLATE_NOOP("FixedTexts", "Not a directory")};
inline constexpr FixedText SystemIsADirectory{QT_TRANSLATE_NOOP("FixedTexts", "Is a directory")};
inline constexpr FixedText SystemInvalidArgument{
    QT_TRANSLATE_NOOP("FixedTexts", "Invalid argument")};
inline constexpr FixedText SystemTooManyFiles{
    QT_TRANSLATE_NOOP("FixedTexts", "Too many open files")};
inline constexpr FixedText SystemFileTooLarge{QT_TRANSLATE_NOOP("FixedTexts", "File too large")};
inline constexpr FixedText SystemDiskFull{
    QT_TRANSLATE_NOOP("FixedTexts", "No space left on device")};
inline constexpr FixedText SystemReadOnly{QT_TRANSLATE_NOOP("FixedTexts", "Read-only file system")};
inline constexpr FixedText SystemNameTooLong{QT_TRANSLATE_NOOP("FixedTexts", "File name too long")};
inline constexpr FixedText SystemLinkLoop{
    QT_TRANSLATE_NOOP("FixedTexts", "Too many levels of symbolic links")};
inline constexpr FixedText SystemQuota{QT_TRANSLATE_NOOP("FixedTexts", "Disk quota exceeded")};
inline constexpr FixedText SystemAddressInUse{
    QT_TRANSLATE_NOOP("FixedTexts", "Address already in use")};
inline constexpr FixedText SystemConnectionRefused{
    QT_TRANSLATE_NOOP("FixedTexts", "Connection refused")};
// Any other: the system's English text (%1) and the reason's short name (%2, "EXDEV").
inline constexpr FixedText SystemOther{QT_TRANSLATE_NOOP("FixedTexts", "%1 (%2)")};

// Why the media engine failed (the second part of CannotOpen, CannotPlay, EngineRefused...).
inline constexpr FixedText EngineLoadingFailed{
    QT_TRANSLATE_NOOP("FixedTexts", "it could not be loaded")};
inline constexpr FixedText EngineUnknownFormat{
    QT_TRANSLATE_NOOP("FixedTexts", "its format is not known to the media engine")};
inline constexpr FixedText EngineNothingToPlay{
    QT_TRANSLATE_NOOP("FixedTexts", "it holds no sound or picture that could be played")};
inline constexpr FixedText EngineNoSoundOutput{
    QT_TRANSLATE_NOOP("FixedTexts", "the sound output could not be started")};
inline constexpr FixedText EngineNoPictureOutput{
    QT_TRANSLATE_NOOP("FixedTexts", "the picture output could not be started")};
inline constexpr FixedText EngineNotSupported{
    QT_TRANSLATE_NOOP("FixedTexts", "the media engine does not support it")};
inline constexpr FixedText EngineNoMemory{
    QT_TRANSLATE_NOOP("FixedTexts", "the media engine ran out of memory")};
inline constexpr FixedText EngineBadSetting{
    QT_TRANSLATE_NOOP("FixedTexts", "the media engine does not accept this setting")};
// Any other failure, by the engine's number.
inline constexpr FixedText EngineOther{
    QT_TRANSLATE_NOOP("FixedTexts", "the media engine failed (error %1)")};

// The full stop the error box ends a sentence with ("。" in Japanese).
inline constexpr FixedText FullStop{QT_TRANSLATE_NOOP("FixedTexts", ".")};
// What assistive tools call the player panel's clocks, %1 being the time shown.
inline constexpr FixedText ElapsedTime{QT_TRANSLATE_NOOP("FixedTexts", "Elapsed %1")};
inline constexpr FixedText ClipLength{QT_TRANSLATE_NOOP("FixedTexts", "Length %1")};

// An XSPF list that stops before its XML is whole (an empty file too), at line %1.
inline constexpr FixedText ListEndsEarly{
    QT_TRANSLATE_NOOP("FixedTexts", "it is not well-formed XML: it ends at line %1 before it is "
                                    "complete")};
// A failure whose error number the system did not keep (the first part names the call).
inline constexpr FixedText SystemNoReason{
    QT_TRANSLATE_NOOP("FixedTexts", "the system gave no reason")};

// Lines the player writes on the terminal after "korvel: ". A Japanese one is a sentence with
// its "。"; an English one has no full stop, as the launcher's lines.
inline constexpr FixedText NoSoundOutput{
    QT_TRANSLATE_NOOP("FixedTexts", "no sound output could be opened (%1); playing without sound")};
inline constexpr FixedText NoSoundOutputOfTheSystem{
    QT_TRANSLATE_NOOP("FixedTexts", "none of the system's")};
inline constexpr FixedText SoundOutputTried{QT_TRANSLATE_NOOP("FixedTexts", "tried %1")};
inline constexpr FixedText PictureVariableUnknown{QT_TRANSLATE_NOOP(
    "FixedTexts",
    "KORVEL_PICTURE is '%1', not gl or sw; the picture path is chosen automatically")};
inline constexpr FixedText NoDesktopControls{
    QT_TRANSLATE_NOOP("FixedTexts", "no desktop media controls: %1")};
inline constexpr FixedText NoSessionBus{QT_TRANSLATE_NOOP("FixedTexts", "no session bus")};
inline constexpr FixedText NoSessionBusNamed{
    QT_TRANSLATE_NOOP("FixedTexts", "no session bus (%1)")};
inline constexpr FixedText BusPathTaken{
    QT_TRANSLATE_NOOP("FixedTexts", "%1 is taken on the session bus")};
inline constexpr FixedText BusNameTaken{
    QT_TRANSLATE_NOOP("FixedTexts", "%1 belongs to another program")};
// Warnings of the picture's and the display's log categories, shown unless switched off.
inline constexpr FixedText NoGlContext{
    QT_TRANSLATE_NOOP("FixedTexts", "no OpenGL picture: no OpenGL context for the drawing thread")};
inline constexpr FixedText NoGlPicture{QT_TRANSLATE_NOOP("FixedTexts", "no OpenGL picture: %1")};
inline constexpr FixedText DisplayGone{
    QT_TRANSLATE_NOOP("FixedTexts", "the X server's connection is gone: the player ends")};
// The player's menu and its dialogs.
inline constexpr FixedText NoClipOpen{QT_TRANSLATE_NOOP("FixedTexts", "no clip is open")};
inline constexpr FixedText NoSuchTrack{QT_TRANSLATE_NOOP("FixedTexts", "the clip has no track %1")};
inline constexpr FixedText MenuOpenFiles{QT_TRANSLATE_NOOP("FixedTexts", "Open files…")};
inline constexpr FixedText MenuOpenLocation{QT_TRANSLATE_NOOP("FixedTexts", "Open location…")};
inline constexpr FixedText MenuAudioTrack{QT_TRANSLATE_NOOP("FixedTexts", "Audio track")};
inline constexpr FixedText MenuSubtitles{QT_TRANSLATE_NOOP("FixedTexts", "Subtitles")};
inline constexpr FixedText MenuSkin{QT_TRANSLATE_NOOP("FixedTexts", "Skin")};
inline constexpr FixedText MenuSubtitlesOff{QT_TRANSLATE_NOOP("FixedTexts", "Off")};
inline constexpr FixedText MenuLoadSubtitles{QT_TRANSLATE_NOOP("FixedTexts", "Load subtitles…")};
inline constexpr FixedText MenuNoTracks{QT_TRANSLATE_NOOP("FixedTexts", "No tracks")};
inline constexpr FixedText MenuTrack{QT_TRANSLATE_NOOP("FixedTexts", "Track %1")};
inline constexpr FixedText MenuTop{QT_TRANSLATE_NOOP("FixedTexts", "Keep on top (TOP)")};
inline constexpr FixedText MenuFix{QT_TRANSLATE_NOOP("FixedTexts", "Keep the size (FIX)")};
inline constexpr FixedText MenuMute{QT_TRANSLATE_NOOP("FixedTexts", "Mute")};
inline constexpr FixedText MenuPlayList{QT_TRANSLATE_NOOP("FixedTexts", "Playlist")};
inline constexpr FixedText MenuFullScreen{QT_TRANSLATE_NOOP("FixedTexts", "Full screen")};
inline constexpr FixedText MenuAbout{QT_TRANSLATE_NOOP("FixedTexts", "About Korvel")};
inline constexpr FixedText MenuQuit{QT_TRANSLATE_NOOP("FixedTexts", "Quit")};
inline constexpr FixedText AboutText{QT_TRANSLATE_NOOP(
    "FixedTexts", "Korvel %1: a compact skinned media player.\nLicence: GNU General Public "
                  "License, version 3 or later (GPL-3.0-or-later).")};
inline constexpr FixedText LocationPrompt{
    QT_TRANSLATE_NOOP("FixedTexts", "A file or URL to play:")};
inline constexpr FixedText FilterMedia{QT_TRANSLATE_NOOP("FixedTexts", "Media and lists (%1)")};
inline constexpr FixedText FilterAll{QT_TRANSLATE_NOOP("FixedTexts", "All files (*)")};
inline constexpr FixedText FilterSubtitles{QT_TRANSLATE_NOOP("FixedTexts", "Subtitles (%1)")};

// Skins of the user's own, from their folders.
inline constexpr FixedText SkinFileUnusable{
    QT_TRANSLATE_NOOP("FixedTexts", "Cannot use the skin file %1: %2")};
inline constexpr FixedText SkinNameOutside{
    QT_TRANSLATE_NOOP("FixedTexts", "the name reaches outside the skin's folder")};
inline constexpr FixedText SkinMaskLeavesNothing{
    QT_TRANSLATE_NOOP("FixedTexts", "its mask leaves nothing of the window")};
inline constexpr FixedText SkinNotFound{
    QT_TRANSLATE_NOOP("FixedTexts", "There is no skin named %1: the skin in use stays")};
inline constexpr FixedText SkinGone{QT_TRANSLATE_NOOP(
    "FixedTexts", "The skin %1 is not found any more: the built-in skin is used")};
inline constexpr FixedText SkinBuiltIn{QT_TRANSLATE_NOOP("FixedTexts", "Built-in")};
inline constexpr FixedText SkinExportExists{
    QT_TRANSLATE_NOOP("FixedTexts", "%1 is there already: nothing was written")};
inline constexpr FixedText SkinExportWrite{
    QT_TRANSLATE_NOOP("FixedTexts", "Cannot write the skin file %1: %2")};
inline constexpr FixedText SkinsExported{
    QT_TRANSLATE_NOOP("FixedTexts", "Wrote the built-in skins into %1")};

// Every fixed text above, for the catalogues' check: each must be in both of them.
inline constexpr std::array All{NotAnInteger,
                                NotATime,
                                RangeCheck,
                                ListIndex,
                                ResourceMissing,
                                BadBitmap,
                                JpegError,
                                DropOnForm,
                                ListFull,
                                ListLeftOut,
                                ListLeftOutOne,
                                ListTooLarge,
                                ListTooLargeOne,
                                CannotOpen,
                                NothingToOpen,
                                EmptyLocation,
                                NoSuchFile,
                                NotAMediaFile,
                                NotReadable,
                                NotOnThisComputer,
                                InvalidName,
                                SchemeNotSupported,
                                EngineRefused,
                                EngineStart,
                                EngineOption,
                                CannotPlay,
                                NoPicture,
                                NoAnswer,
                                NothingPlayed,
                                ServerCannotSeek,
                                CannotSeek,
                                CannotStop,
                                VolumeRange,
                                CannotShowPicture,
                                TerminationWatch,
                                HandOffListen,
                                HandOffNotASocket,
                                CannotReadList,
                                CannotWriteList,
                                ListNotOfItsKind,
                                ListNotWellFormed,
                                ListOutsideEntity,
                                ListFileTooLarge,
                                ListCountWrong,
                                RamLineRefused,
                                ListHoldsItself,
                                ListsTooDeep,
                                TooManyInnerLists,
                                SettingsRead,
                                SettingsSave,
                                SettingsTooLarge,
                                SettingsWouldBeTooLarge,
                                SettingsNotUnderstood,
                                SettingsRowsKept,
                                SettingsNotAFile,
                                NoSettingsFolder,
                                SystemNotPermitted,
                                SystemNoSuchFile,
                                SystemInputOutput,
                                SystemNoMemory,
                                SystemNoPermission,
                                SystemBusy,
                                SystemExists,
                                SystemNotADirectory,
                                SystemIsADirectory,
                                SystemInvalidArgument,
                                SystemTooManyFiles,
                                SystemFileTooLarge,
                                SystemDiskFull,
                                SystemReadOnly,
                                SystemNameTooLong,
                                SystemLinkLoop,
                                SystemQuota,
                                SystemAddressInUse,
                                SystemConnectionRefused,
                                SystemOther,
                                EngineLoadingFailed,
                                EngineUnknownFormat,
                                EngineNothingToPlay,
                                EngineNoSoundOutput,
                                EngineNoPictureOutput,
                                EngineNotSupported,
                                EngineNoMemory,
                                EngineBadSetting,
                                EngineOther,
                                FullStop,
                                ElapsedTime,
                                ClipLength,
                                ListEndsEarly,
                                SystemNoReason,
                                NoSoundOutput,
                                NoSoundOutputOfTheSystem,
                                SoundOutputTried,
                                PictureVariableUnknown,
                                NoDesktopControls,
                                NoSessionBus,
                                NoSessionBusNamed,
                                BusPathTaken,
                                BusNameTaken,
                                NoGlContext,
                                NoGlPicture,
                                DisplayGone,
                                NoClipOpen,
                                NoSuchTrack,
                                MenuOpenFiles,
                                MenuOpenLocation,
                                MenuAudioTrack,
                                MenuSubtitles,
                                MenuSkin,
                                MenuSubtitlesOff,
                                MenuLoadSubtitles,
                                MenuNoTracks,
                                MenuTrack,
                                MenuTop,
                                MenuFix,
                                MenuMute,
                                MenuPlayList,
                                MenuFullScreen,
                                MenuAbout,
                                MenuQuit,
                                AboutText,
                                LocationPrompt,
                                FilterMedia,
                                FilterAll,
                                FilterSubtitles,
                                SkinFileUnusable,
                                SkinNameOutside,
                                SkinMaskLeavesNothing,
                                SkinNotFound,
                                SkinGone,
                                SkinBuiltIn,
                                SkinExportExists,
                                SkinExportWrite,
                                SkinsExported};

} // namespace FixedTexts
} // namespace korvel
