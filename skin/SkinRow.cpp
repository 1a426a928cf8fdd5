#include "skin/SkinRow.h"

#include "base/FixedTexts.h"
#include "base/IntegerText.h"
#include "base/KorvelError.h"
#include "base/SplitFields.h"

namespace korvel {

SkinRow::SkinRow(const QString& row) : m_fields(SplitFields(row, u',')) {}

const QString& SkinRow::text(qsizetype index) const {
    if (index < 0 || index >= m_fields.size()) throw indexError(index);
    return m_fields[index];
}

std::int32_t SkinRow::integer(qsizetype index) const { return IntegerText::toInt(text(index)); }

KorvelError SkinRow::indexError(qsizetype index) {
    return KorvelError(FixedTexts::ListIndex.arg(index));
}

} // namespace korvel
