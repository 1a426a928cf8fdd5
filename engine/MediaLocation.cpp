#include "engine/MediaLocation.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "base/PathBytes.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

#include <cerrno>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace korvel {

namespace {

const QStringList& streamSchemes() {
    static const QStringList schemes{
        QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("rtsp"),
        QStringLiteral("rtmp"), QStringLiteral("mms"),   QStringLiteral("mmsh"),
        QStringLiteral("udp"),  QStringLiteral("rtp"),   QStringLiteral("ftp")};
    return schemes;
}

// The engine reads "scheme://" as a protocol prefix; without "//" a name is a path.
const QRegularExpression& urlPattern() {
    static const QRegularExpression pattern(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*)://"));
    return pattern;
}

[[noreturn]] void refuse(const QString& location, const QString& reason) {
    throw KorvelError(FixedTexts::CannotOpen.arg(PathBytes::displayed(location), reason));
}

QString currentFolder() {
    std::vector<char> buffer(4096);
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) return QStringLiteral("/");
        buffer.resize(buffer.size() * 2);
    }
    return PathBytes::toText(QByteArrayView(buffer.data()));
}

// The file is looked at by the very bytes of its name: a name that is not UTF-8 is found
// and played as it stands on the disk.
QString localFile(const QString& path, const QString& location) {
    // Absolute by the system's rule alone: Qt would also take a name starting with ":" (its
    // resources) for absolute, and hand the engine a relative path.
    const QString absolute =
        QDir::cleanPath(path.startsWith(u'/') ? path : currentFolder() + QLatin1Char('/') + path);
    const QByteArray bytes = PathBytes::toBytes(absolute);
    struct stat status {};
    if (::stat(bytes.constData(), &status) != 0) refuse(location, FixedTexts::NoSuchFile);
    // Directories would become playlists, devices and pipes would block the engine.
    if (!S_ISREG(status.st_mode)) refuse(location, FixedTexts::NotAMediaFile);
    if (::access(bytes.constData(), R_OK) != 0) refuse(location, FixedTexts::NotReadable);
    return absolute;
}

QString fileUrlTarget(const QString& location) {
    const QUrl url(location, QUrl::StrictMode);
    const QString host = url.host();
    if (!url.isValid() || (!host.isEmpty() && host.compare(u"localhost", Qt::CaseInsensitive)))
        refuse(location, FixedTexts::NotOnThisComputer);
    const QString path = PathBytes::fromFileUrl(url);
    if (path.isEmpty() || path.contains(QChar(0))) refuse(location, FixedTexts::NoSuchFile);
    return localFile(path, location);
}

} // namespace

QString MediaLocation::engineTarget(const QString& location) {
    if (location.isEmpty()) throw KorvelError(FixedTexts::NothingToOpen);
    // The engine takes C strings: a NUL would cut the name into another one.
    if (location.contains(QChar(0))) refuse(location, FixedTexts::InvalidName);
    const QRegularExpressionMatch match = urlPattern().match(location);
    if (!match.hasMatch()) return localFile(location, location);
    const QString scheme = match.captured(1).toLower();
    if (scheme == u"file") return fileUrlTarget(location);
    if (!streamSchemes().contains(scheme))
        refuse(location, FixedTexts::SchemeNotSupported.arg(scheme));
    return scheme + location.mid(match.captured(1).size());
}

bool MediaLocation::isStream(const QString& target) {
    const QRegularExpressionMatch match = urlPattern().match(target);
    return match.hasMatch() && streamSchemes().contains(match.captured(1).toLower());
}

} // namespace korvel
