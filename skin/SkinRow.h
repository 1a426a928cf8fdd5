#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace korvel {

class KorvelError;

// One comma-separated row of a skin description, read field by field by 0-based position.
// Reading a field the row lacks raises the list index error naming that position, and an
// integer field that is empty or not a number raises the integer error: either stops a load.
class SkinRow {
public:
    explicit SkinRow(const QString& row);

    qsizetype count() const { return m_fields.size(); }
    const QString& text(qsizetype index) const;
    std::int32_t integer(qsizetype index) const;

    static KorvelError indexError(qsizetype index);

private:
    QStringList m_fields;
};

} // namespace korvel
