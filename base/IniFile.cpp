#include "base/IniFile.h"

#include "base/IntegerText.h"

#include <QList>

namespace korvel {

namespace {

bool sameName(QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Cut to at most MaxValueBytes without splitting a UTF-8 sequence.
QByteArray cutValue(const QByteArray& value) {
    if (value.size() <= IniFile::MaxValueBytes) return value;
    qsizetype end = IniFile::MaxValueBytes;
    while (end > 0 && (static_cast<unsigned char>(value[end]) & 0xC0) == 0x80) --end;
    return value.left(end);
}

} // namespace

IniFile::IniFile(const QByteArray& text) {
    m_newline = text.contains("\r\n") || !text.contains('\n') ? "\r\n" : "\n";
    m_endsWithNewline = text.isEmpty() || text.endsWith('\n');
    const QList<QByteArray> raws = text.split('\n');
    const qsizetype count = m_endsWithNewline ? raws.size() - 1 : raws.size();
    for (qsizetype i = 0; i < count; ++i) {
        QByteArray raw = raws[i];
        if (raw.endsWith('\r')) raw.chop(1);
        m_lines.push_back(parseLine(raw));
    }
}

IniFile::Line IniFile::parseLine(const QByteArray& raw) {
    Line line;
    line.raw = raw;
    const QByteArray trimmed = raw.trimmed();
    if (trimmed.startsWith('[')) {
        const qsizetype close = trimmed.indexOf(']');
        line.kind = Kind::Section;
        line.name = QString::fromUtf8(trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed());
        return line;
    }
    const qsizetype equals = raw.indexOf('=');
    if (equals > 0 && !trimmed.startsWith(';')) {
        line.kind = Kind::Entry;
        line.name = QString::fromUtf8(raw.left(equals).trimmed());
        line.value = raw.mid(equals + 1).trimmed();
    }
    return line;
}

qsizetype IniFile::findSection(QStringView section) const {
    for (qsizetype i = 0; i < qsizetype(m_lines.size()); ++i) {
        if (m_lines[i].kind == Kind::Section && sameName(m_lines[i].name, section)) return i;
    }
    return -1;
}

qsizetype IniFile::endOfSection(qsizetype sectionLine) const {
    qsizetype i = sectionLine + 1;
    while (i < qsizetype(m_lines.size()) && m_lines[i].kind != Kind::Section) ++i;
    return i;
}

qsizetype IniFile::findEntry(QStringView section, QStringView key) const {
    const qsizetype start = findSection(section);
    if (start < 0) return -1;
    const qsizetype end = endOfSection(start);
    for (qsizetype i = start + 1; i < end; ++i) {
        if (m_lines[i].kind == Kind::Entry && sameName(m_lines[i].name, key)) return i;
    }
    return -1;
}

bool IniFile::hasKey(QStringView section, QStringView key) const {
    return findEntry(section, key) >= 0;
}

QString IniFile::readString(QStringView section, QStringView key,
                            const QString& defaultValue) const {
    const qsizetype i = findEntry(section, key);
    return i < 0 ? defaultValue : QString::fromUtf8(cutValue(m_lines[i].value));
}

std::optional<QByteArray> IniFile::readBytes(QStringView section, QStringView key) const {
    const qsizetype i = findEntry(section, key);
    if (i < 0) return std::nullopt;
    return m_lines[i].value;
}

std::int32_t IniFile::readInteger(QStringView section, QStringView key,
                                  std::int32_t defaultValue) const {
    const qsizetype i = findEntry(section, key);
    if (i < 0) return defaultValue;
    return IntegerText::parse(QString::fromUtf8(cutValue(m_lines[i].value))).value_or(defaultValue);
}

void IniFile::writeString(QStringView section, QStringView key, const QString& value) {
    const QByteArray raw = key.toUtf8() + '=' + value.toUtf8();
    if (const qsizetype i = findEntry(section, key); i >= 0) {
        m_lines[i] = parseLine(raw);
        return;
    }
    qsizetype start = findSection(section);
    if (start < 0) {
        m_lines.push_back(parseLine('[' + section.toUtf8() + ']'));
        start = qsizetype(m_lines.size()) - 1;
    }
    // A new key goes after the section's last entry, ahead of the blank lines that part it
    // from the next section.
    qsizetype at = endOfSection(start);
    while (at > start + 1 && m_lines[at - 1].raw.trimmed().isEmpty()) --at;
    m_lines.insert(m_lines.begin() + at, parseLine(raw));
}

QByteArray IniFile::text() const {
    QByteArray out;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        out += m_lines[i].raw;
        if (i + 1 < m_lines.size() || m_endsWithNewline) out += m_newline;
    }
    return out;
}

} // namespace korvel
