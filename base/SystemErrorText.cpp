#include "base/SystemErrorText.h"

#include "base/FixedTexts.h"

#include <QtGlobal>

#include <cerrno>
#include <cstring>
#include <locale.h>

namespace korvel {

namespace {

struct Known {
    int error;
    FixedText text;
};

constexpr Known KnownErrors[] = {
    {EPERM, FixedTexts::SystemNotPermitted},
    {ENOENT, FixedTexts::SystemNoSuchFile},
    {EIO, FixedTexts::SystemInputOutput},
    {ENOMEM, FixedTexts::SystemNoMemory},
    {EACCES, FixedTexts::SystemNoPermission},
    {EBUSY, FixedTexts::SystemBusy},
    {EEXIST, FixedTexts::SystemExists},
    {ENOTDIR, FixedTexts::SystemNotADirectory},
    {EISDIR, FixedTexts::SystemIsADirectory},
    {EINVAL, FixedTexts::SystemInvalidArgument},
    {EMFILE, FixedTexts::SystemTooManyFiles},
    {EFBIG, FixedTexts::SystemFileTooLarge},
    {ENOSPC, FixedTexts::SystemDiskFull},
    {EROFS, FixedTexts::SystemReadOnly},
    {ENAMETOOLONG, FixedTexts::SystemNameTooLong},
    {ELOOP, FixedTexts::SystemLinkLoop},
    {EDQUOT, FixedTexts::SystemQuota},
    {EADDRINUSE, FixedTexts::SystemAddressInUse},
    {ECONNREFUSED, FixedTexts::SystemConnectionRefused},
};

// The highest error number the system's texts are looked through for.
constexpr int LastErrorNumber = 200;

// The system's English text, whatever the locale's messages are.
QString englishText(int error) {
    static const locale_t english = ::newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    if (english == locale_t(nullptr)) return QString::number(error);
    return QString::fromLocal8Bit(::strerror_l(error, english));
}

QString shortName(int error) {
    const char* name = ::strerrorname_np(error);
    return name != nullptr ? QString::fromLatin1(name) : QString::number(error);
}

} // namespace

QString SystemErrorText::of(int error) {
    for (const Known& known : KnownErrors) {
        if (known.error == error) return known.text.text();
    }
    // Each place filled by name: a translation may leave out the English text.
    return FixedTexts::SystemOther.text()
        .replace(QLatin1String("%2"), shortName(error))
        .replace(QLatin1String("%1"), englishText(error));
}

QString SystemErrorText::fromSystem(const QString& systemText) {
    for (int error = 1; error <= LastErrorNumber; ++error) {
        if (qt_error_string(error) == systemText) return of(error);
    }
    return systemText;
}

} // namespace korvel
