#include "skin/SkinRow.h"

#include "app/KorvelError.h"
#include "skin/IntegerText.h"
#include "skin/SplitFields.h"

namespace korvel {

SkinRow::SkinRow(const QString& row) : m_fields(SplitFields(row, u',')) {}

const QString& SkinRow::text(qsizetype index) const {
    if (index < 0 || index >= m_fields.size()) throw indexError(index);
    return m_fields[index];
}

std::int32_t SkinRow::integer(qsizetype index) const {
    return IntegerText::toInt(text(index));
}

KorvelError SkinRow::indexError(qsizetype index) {
    return KorvelError(QStringLiteral("リストのインデックスが範囲を超えています (%1)").arg(index));
}

} // namespace korvel
