#include "skin/SkinImageName.h"

namespace korvel {

namespace {

// Only ASCII letters change case, as the resource names are ASCII.
QString asciiUpper(QStringView text) {
    QString out = text.toString();
    for (QChar& c : out) {
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - 'a' + 'A');
    }
    return out;
}

} // namespace

SkinImageName SkinImageName::parse(QStringView fileName) {
    const qsizetype dot = fileName.indexOf(u'.');
    if (dot < 0) return {QStringLiteral(" "), QStringLiteral(" ")};
    return {asciiUpper(fileName.left(dot)), asciiUpper(fileName.mid(dot + 1, 3))};
}

QString SkinImageName::resourceType() const {
    return extension == u"BMP" ? QStringLiteral("BMP") : QStringLiteral("JPG");
}

} // namespace korvel
