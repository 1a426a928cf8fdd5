#include "skin/SkinHint.h"

#include <QCoreApplication>

namespace korvel {

QString SkinHint::shown(const QString& hint) {
    if (hint.isEmpty()) return hint;
    return QCoreApplication::translate(Context, hint.toUtf8().constData());
}

} // namespace korvel
