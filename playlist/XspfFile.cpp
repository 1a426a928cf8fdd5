#include "playlist/XspfFile.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"

#include <QXmlStreamReader>

namespace korvel {

namespace {

// The first location of the track the reader stands in; the reader ends at the track's end.
QString trackLocation(QXmlStreamReader& xml) {
    QString location;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"location" && location.isEmpty()) {
            location = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else {
            xml.skipCurrentElement();
        }
    }
    return location;
}

void readTrackList(QXmlStreamReader& xml, QStringList& locations) {
    while (xml.readNextStartElement()) {
        if (xml.name() != u"track") {
            xml.skipCurrentElement();
            continue;
        }
        const QString location = trackLocation(xml);
        if (!location.isEmpty()) locations.append(location);
    }
}

} // namespace

QStringList XspfFile::ReadXspfBytes(QByteArrayView bytes) {
    QXmlStreamReader xml(bytes.toByteArray());
    QStringList locations;
    if (xml.readNextStartElement()) {
        if (xml.name() != u"playlist") throw KorvelError(FixedTexts::ListNotOfItsKind.arg(u"XSPF"));
        while (xml.readNextStartElement()) {
            if (xml.name() == u"trackList")
                readTrackList(xml, locations);
            else
                xml.skipCurrentElement();
        }
    }
    // Read to the end: what follows the root must be well-formed too.
    while (!xml.atEnd()) xml.readNext();
    if (xml.hasError()) {
        throw KorvelError(
            FixedTexts::ListNotWellFormed.arg(xml.lineNumber()).arg(xml.errorString()));
    }
    return locations;
}

} // namespace korvel
