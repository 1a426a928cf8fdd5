#include "skin/SkinResources.h"

#include "app/KorvelError.h"

#include <QFile>

namespace korvel {

QByteArray SkinResources::find(QStringView type, QStringView name) {
    // Resources are stored under upper-case aliases, which makes the lookup case-blind.
    QFile file(QStringLiteral(":/skins/%1/%2").arg(type.toString().toUpper(),
                                                   name.toString().toUpper()));
    if (name.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        throw KorvelError(QStringLiteral("%1 リソースが見つかりません").arg(name));
    }
    return file.readAll();
}

} // namespace korvel
