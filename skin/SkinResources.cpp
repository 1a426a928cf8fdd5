#include "skin/SkinResources.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"

#include <QFile>

namespace korvel {

QByteArray SkinResources::find(QStringView type, QStringView name) {
    // Resources are stored under upper-case aliases, which makes the lookup case-blind.
    QFile file(
        QStringLiteral(":/skins/%1/%2").arg(type.toString().toUpper(), name.toString().toUpper()));
    if (name.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        throw KorvelError(FixedTexts::ResourceMissing.arg(name));
    }
    return file.readAll();
}

} // namespace korvel
