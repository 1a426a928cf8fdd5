#include "playlist/ListLocation.h"

#include "base/PathBytes.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

namespace korvel {

namespace {

// "scheme://", as the engine reads a protocol prefix.
const QRegularExpression& urlPattern() {
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return pattern;
}

// "scheme:" of a URI; one letter is a Windows drive, not a scheme.
const QRegularExpression& uriSchemePattern() {
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return pattern;
}

const QRegularExpression& windowsPathPattern() {
    static const QRegularExpression pattern(QStringLiteral(R"(^([A-Za-z]:[\\/]|\\\\))"));
    return pattern;
}

bool isFileUrl(const QString& text) { return text.startsWith(u"file:", Qt::CaseInsensitive); }

// The path of a file URL of this computer; empty for another computer's or a broken one.
QString fileUrlPath(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const QString host = url.host();
    if (!url.isValid() || (!host.isEmpty() && host.compare(u"localhost", Qt::CaseInsensitive)))
        return {};
    return PathBytes::fromFileUrl(url);
}

QString withoutEscapes(const QString& text) {
    return PathBytes::toText(QByteArray::fromPercentEncoding(PathBytes::toBytes(text)));
}

} // namespace

QString ListLocation::fromLine(const QString& line, const QString& folder, const Exists& exists) {
    if (urlPattern().match(line).hasMatch()) {
        if (!isFileUrl(line)) return line;
        const QString path = fileUrlPath(line);
        return path.isEmpty() ? line : path;
    }
    if (line.startsWith(u'/') || windowsPathPattern().match(line).hasMatch()) return line;
    const QString asWritten = relativeTo(line, folder);
    if (!line.contains(u'\\') || !exists || exists(asWritten)) return asWritten;
    const QString withSlashes = relativeTo(QString(line).replace(u'\\', u'/'), folder);
    return exists(withSlashes) ? withSlashes : asWritten;
}

QString ListLocation::fromUri(const QString& uri, const QString& folder) {
    if (isFileUrl(uri)) {
        const QString path = fileUrlPath(uri);
        return path.isEmpty() ? uri : path;
    }
    if (uriSchemePattern().match(uri).hasMatch()) return uri;
    const QString path = withoutEscapes(uri);
    return path.startsWith(u'/') ? QDir::cleanPath(path) : relativeTo(path, folder);
}

QString ListLocation::localFile(const QString& location) {
    if (location.startsWith(u'/')) return location;
    return isFileUrl(location) ? fileUrlPath(location) : QString();
}

QString ListLocation::relativeTo(const QString& path, const QString& folder) {
    return QDir::cleanPath(folder + u'/' + path);
}

} // namespace korvel
