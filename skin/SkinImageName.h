#pragma once

#include <QString>
#include <QStringView>

namespace korvel {

// How a skin names an image: "PlayerMain.jpg" is the resource "PLAYERMAIN" of type "JPG";
// an extension spelling BMP selects type "BMP". The name is cut at its first "."; at most
// three characters after it make the extension. A name without "." has a single blank for
// both parts.
struct SkinImageName {
    QString resourceName;
    QString extension;

    static SkinImageName parse(QStringView fileName);
    QString resourceType() const;
};

} // namespace korvel
