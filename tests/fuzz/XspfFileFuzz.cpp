// XSPF lists over any bytes: a list either is refused with a reason or gives trimmed location
// texts; a list written with the texts of the input, among other players' elements, reads
// back as exactly those texts.

#include "FuzzInput.h"

#include "base/KorvelError.h"
#include "playlist/XspfFile.h"

#include <QXmlStreamWriter>

using korvel::KorvelError;
using korvel::XspfFile;
using korvel::fuzz::check;

namespace {

// Characters XML can hold, without blanks around them.
QString xmlText(QByteArrayView bytes) {
    QString text;
    for (const QChar c : QString::fromUtf8(bytes)) {
        const char16_t unit = c.unicode();
        const bool allowed = unit >= 32 && !c.isSurrogate() && unit != 0xFFFE && unit != 0xFFFF;
        text += allowed ? c : QChar(u'_');
    }
    return text.trimmed();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvel::fuzz::FuzzInput input(data, size);
    const std::uint8_t shape = input.byte();
    if (shape & 1) {
        try {
            for (const QString& location : XspfFile::ReadXspfBytes(input.rest())) {
                check(!location.isEmpty() && location == location.trimmed(), "trimmed texts");
            }
        } catch (const KorvelError& error) {
            check(!error.text().isEmpty(), "a refusal says why");
        }
        return 0;
    }
    QStringList texts;
    while (!input.atEnd() && texts.size() < 40) {
        const QString text = xmlText(input.bytes(80));
        if (!text.isEmpty()) texts.append(text);
    }
    QByteArray list;
    QXmlStreamWriter xml(&list);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(QStringLiteral("http://xspf.org/ns/0/"));
    xml.writeStartElement(QStringLiteral("playlist"));
    xml.writeStartElement(QStringLiteral("trackList"));
    for (const QString& text : texts) {
        xml.writeStartElement(QStringLiteral("track"));
        if (shape & 2) {
            xml.writeStartElement(QStringLiteral("extension"));
            xml.writeTextElement(QStringLiteral("location"), QStringLiteral("not/this"));
            xml.writeEndElement();
        }
        xml.writeTextElement(QStringLiteral("location"), text);
        if (shape & 4) xml.writeTextElement(QStringLiteral("location"), QStringLiteral("nor/this"));
        xml.writeTextElement(QStringLiteral("title"), text);
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    check(XspfFile::ReadXspfBytes(list) == texts, "a written list reads back");
    return 0;
}
