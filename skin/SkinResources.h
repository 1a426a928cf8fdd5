#pragma once

#include <QByteArray>
#include <QStringView>

namespace korvel {

// The skins built into the program: descriptions of type "INI", images of types "JPG" and
// "BMP", found by name without regard to case. Nothing is read from the user's disk.
class SkinResources {
public:
    // The resource's bytes; a missing one raises "%s リソースが見つかりません".
    static QByteArray find(QStringView type, QStringView name);
};

} // namespace korvel
