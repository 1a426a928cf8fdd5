#include "playlist/XspfFile.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"

#include <QDir>
#include <QUrl>
#include <QXmlStreamReader>

namespace korvel {

namespace {

const QString& xmlNamespace() {
    static const QString name = QStringLiteral("http://www.w3.org/XML/1998/namespace");
    return name;
}

// A URI with a scheme of its own; one letter is a Windows drive.
bool isAbsoluteUri(const QString& text) {
    const QUrl url(text);
    return url.isValid() && url.scheme().size() > 1;
}

// `reference` resolved against `base`, as a URI reference is (empty: the list's own place).
// A base that is still relative is composed as a path, to be resolved against the list's
// folder at the end: dot segments that climb above it are kept for that.
QString resolved(const QString& base, const QString& reference) {
    if (base.isEmpty() || isAbsoluteUri(reference)) return reference;
    if (isAbsoluteUri(base)) {
        // A reference no URI can be made of stays as the list gives it.
        const QUrl url = QUrl(base).resolved(QUrl(reference));
        return url.isValid() && !url.isEmpty() ? url.toString(QUrl::FullyEncoded) : reference;
    }
    if (reference.isEmpty()) return base;
    if (reference.startsWith(u'/')) return reference;
    const QString merged = base.first(base.lastIndexOf(u'/') + 1) + reference;
    const bool folder = merged.endsWith(u'/') || merged.endsWith(u"/.") ||
                        merged.endsWith(u"/..") || merged == u"." || merged == u"..";
    return QDir::cleanPath(merged) + (folder ? QStringLiteral("/") : QString());
}

// The base the element the reader stands on gives its content: its xml:base against the
// base around it.
QString baseOf(const QXmlStreamReader& xml, const QString& outer) {
    const QXmlStreamAttributes attributes = xml.attributes();
    if (!attributes.hasAttribute(xmlNamespace(), QStringLiteral("base"))) return outer;
    return resolved(outer,
                    attributes.value(xmlNamespace(), QStringLiteral("base")).trimmed().toString());
}

// The entities the list names without declaring them, which only a DTD outside the list
// could declare: the reader leaves their text out, so the first one is remembered.
class UndeclaredEntities : public QXmlStreamEntityResolver {
public:
    explicit UndeclaredEntities(const QXmlStreamReader& xml) : m_xml(xml) {}

    QString resolveUndeclaredEntity(const QString& name) override {
        if (m_name.isEmpty()) {
            m_name = name;
            m_line = m_xml.lineNumber();
        }
        return {};
    }

    void raiseIfAny() const {
        if (m_name.isEmpty()) return;
        throw KorvelError(FixedTexts::ListOutsideEntity.arg(m_line).arg(m_name));
    }

private:
    const QXmlStreamReader& m_xml;
    QString m_name;
    qint64 m_line = 0;
};

// An entity declared to come from outside the list (a file, a URL) is never read: the text
// of a location using it would be cut where it stands.
void refuseOutsideEntities(const QXmlStreamReader& xml) {
    for (const QXmlStreamEntityDeclaration& entity : xml.entityDeclarations()) {
        if (entity.systemId().isEmpty() && entity.publicId().isEmpty()) continue;
        throw KorvelError(
            FixedTexts::ListOutsideEntity.arg(xml.lineNumber()).arg(entity.name().toString()));
    }
}

// Reads up to the root element; whether there is one.
bool readToRoot(QXmlStreamReader& xml) {
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) return true;
        if (xml.isDTD()) refuseOutsideEntities(xml);
    }
    return false;
}

// The first location of the track the reader stands in; the reader ends at the track's end.
QString trackLocation(QXmlStreamReader& xml, const QString& base) {
    QString location;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"location" && location.isEmpty()) {
            const QString own = baseOf(xml, base);
            location = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
            if (!location.isEmpty()) location = resolved(own, location);
        } else {
            xml.skipCurrentElement();
        }
    }
    return location;
}

void readTrackList(QXmlStreamReader& xml, const QString& base, QStringList& locations) {
    while (xml.readNextStartElement()) {
        if (xml.name() != u"track") {
            xml.skipCurrentElement();
            continue;
        }
        const QString location = trackLocation(xml, baseOf(xml, base));
        if (!location.isEmpty()) locations.append(location);
    }
}

} // namespace

QStringList XspfFile::ReadXspfBytes(QByteArrayView bytes) {
    QXmlStreamReader xml(bytes.toByteArray());
    UndeclaredEntities undeclared(xml);
    xml.setEntityResolver(&undeclared);
    QStringList locations;
    if (readToRoot(xml)) {
        if (xml.name() != u"playlist") throw KorvelError(FixedTexts::ListNotOfItsKind.arg(u"XSPF"));
        const QString base = baseOf(xml, QString());
        while (xml.readNextStartElement()) {
            if (xml.name() == u"trackList")
                readTrackList(xml, baseOf(xml, base), locations);
            else
                xml.skipCurrentElement();
        }
    }
    // Read to the end: what follows the root must be well-formed too.
    while (!xml.atEnd()) xml.readNext();
    // The reader's own texts are English only: where it stopped is told in Korvel's words. It
    // stops just after the token at fault, so its count from 0 is that token's last column.
    if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
        throw KorvelError(FixedTexts::ListEndsEarly.arg(xml.lineNumber()));
    if (xml.hasError()) {
        throw KorvelError(
            FixedTexts::ListNotWellFormed.arg(xml.lineNumber()).arg(xml.columnNumber()));
    }
    undeclared.raiseIfAny();
    return locations;
}

} // namespace korvel
