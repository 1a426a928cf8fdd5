#include "base/FixedText.h"

#include <QCoreApplication>

namespace korvel {

QString FixedText::text() const { return QCoreApplication::translate(m_context, m_source); }

} // namespace korvel
