#pragma once

#include <initializer_list>
#include <string>

namespace korvel {

// The launcher's messages on the terminal, in the user's language. The launcher links no Qt,
// so it has no catalogue: each message is written here in English and Japanese, the language
// chosen once at start as --help's is (HelpText::language). The system's reasons inside them
// are told in the same language.
class LauncherText {
public:
    enum class Id {
        RunsAlone,
        NoAnswerInTime,
        EmptyClipName,
        NotHandedOver,
        NotTaken,
        TheHandOff,
        CurrentFolderUnreadable,
        NoGuiLibrary,
        NoProgramFolder,
        CannotLoadGui,
        Failed,
        CannotCreateFolder,
        CannotUseFolder,
        CannotMakePrivate,
        NoHomeFolder,
        FolderOfAnotherUser,
        FolderPathTooLong,
        GuardUnusable,
        NotOurSocket,
        TooLongOrMalformed,
        AnswerNotUnderstood,
        ClosedWithoutAnswer,
        NoAnswer,
        TextTooLong,
        NotSentInTime,
        LongerThan,
        ExportNeedsFolder,
    };

    // "ja" for Japanese; anything else (the source text) English.
    static void setLanguage(const std::string& language);

    // The message with {1}, {2}... filled in from `parts`.
    static std::string text(Id id, std::initializer_list<std::string> parts = {});

    // The system's reason for the error number `error` (errno).
    static std::string systemReason(int error);
};

} // namespace korvel
