#include "base/SplitFields.h"

#include <QString>

namespace korvel {

namespace {

class Cursor {
public:
    explicit Cursor(QStringView text)
        : m_text(text.left(text.indexOf(QChar(0)) < 0 ? text.size() : text.indexOf(QChar(0)))) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar current() const { return m_text[m_pos]; }

    void skipBlanks() {
        while (!atEnd() && current().unicode() <= 32) ++m_pos;
    }

    QString quoted() {
        QString field;
        ++m_pos; // the opening quote
        while (!atEnd()) {
            const QChar c = m_text[m_pos++];
            if (c != u'"') {
                field += c;
            } else if (!atEnd() && current() == u'"') {
                field += c;
                ++m_pos;
            } else {
                break;
            }
        }
        return field;
    }

    QString plain(QChar delimiter) {
        const qsizetype start = m_pos;
        while (!atEnd() && current() != delimiter && current().unicode() >= 32) ++m_pos;
        return m_text.mid(start, m_pos - start).toString();
    }

    void step() { ++m_pos; }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

} // namespace

QStringList SplitFields(QStringView text, QChar delimiter) {
    QStringList fields;
    Cursor cursor(text);
    cursor.skipBlanks();
    while (!cursor.atEnd()) {
        fields.append(cursor.current() == u'"' ? cursor.quoted() : cursor.plain(delimiter));
        cursor.skipBlanks();
        if (!cursor.atEnd() && cursor.current() == delimiter) {
            cursor.step();
            cursor.skipBlanks();
        }
    }
    return fields;
}

} // namespace korvel
