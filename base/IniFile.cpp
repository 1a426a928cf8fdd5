#include "base/IniFile.h"

#include "base/IntegerText.h"

#include <QList>

#include <unordered_map>

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

IniFile::IniFile(const QByteArray& whole) {
    // Some editors start a UTF-8 file with a byte-order mark; it is kept for the write.
    const bool marked = whole.startsWith(ByteOrderMark);
    if (marked) m_start = ByteOrderMark.toByteArray();
    const QByteArrayView text = QByteArrayView(whole).sliced(marked ? ByteOrderMark.size() : 0);
    m_endsWithNewline = text.isEmpty() || text.endsWith('\n') || text.endsWith('\r');
    // A line ends at CR LF, LF or CR alone; the text is written back with its first line's end.
    bool first = true;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = start;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
        m_lines.push_back(parseLine(text.sliced(start, end - start).toByteArray()));
        qsizetype endLength = end < text.size() ? 1 : 0;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') endLength = 2;
        if (first && endLength > 0) m_newline = text.sliced(end, endLength).toByteArray();
        first = false;
        start = end + endLength;
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
    // Whole: a number's leading zeros may run past the longest string value.
    return IntegerText::parse(QString::fromUtf8(m_lines[i].value)).value_or(defaultValue);
}

std::vector<std::pair<QString, QByteArray>> IniFile::entries(QStringView section) const {
    std::vector<std::pair<QString, QByteArray>> found;
    const qsizetype start = findSection(section);
    if (start < 0) return found;
    const qsizetype end = endOfSection(start);
    for (qsizetype i = start + 1; i < end; ++i) {
        if (m_lines[i].kind == Kind::Entry) found.emplace_back(m_lines[i].name, m_lines[i].value);
    }
    return found;
}

void IniFile::writeString(QStringView section, QStringView key, const QString& value) {
    writeBytes(section, key, value.toUtf8());
}

void IniFile::writeBytes(QStringView section, QStringView key, const QByteArray& value) {
    const QByteArray raw = key.toUtf8() + '=' + value;
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

void IniFile::writeAllBytes(QStringView section,
                            const std::vector<std::pair<QString, QByteArray>>& values) {
    if (values.empty()) return;
    if (findSection(section) < 0) m_lines.push_back(parseLine('[' + section.toUtf8() + ']'));
    const qsizetype start = findSection(section);
    qsizetype end = endOfSection(start);
    // The section's keys by their name in one letter case; the first line of a key counts.
    // Keys added here stand at -1 - their place among the added lines.
    std::unordered_map<QString, qsizetype> lines;
    for (qsizetype i = start + 1; i < end; ++i) {
        if (m_lines[i].kind == Kind::Entry) lines.try_emplace(m_lines[i].name.toCaseFolded(), i);
    }
    std::vector<Line> added;
    for (const auto& [key, value] : values) {
        Line line = parseLine(key.toUtf8() + '=' + value);
        const auto [at, isNew] =
            lines.try_emplace(key.toCaseFolded(), -1 - qsizetype(added.size()));
        if (isNew)
            added.push_back(std::move(line));
        else if (at->second >= 0)
            m_lines[std::size_t(at->second)] = std::move(line);
        else
            added[std::size_t(-1 - at->second)] = std::move(line);
    }
    // New keys go where writeBytes puts them, in the order given.
    while (end > start + 1 && m_lines[end - 1].raw.trimmed().isEmpty()) --end;
    m_lines.insert(m_lines.begin() + end, added.begin(), added.end());
}

std::vector<qsizetype> IniFile::unreadLines(QStringView section) const {
    std::vector<qsizetype> unread;
    bool inAnySection = false;
    bool seen = false;     // `section` has stood already
    bool inRepeat = false; // within a second (or later) `section`
    for (qsizetype i = 0; i < qsizetype(m_lines.size()); ++i) {
        const Line& line = m_lines[std::size_t(i)];
        const QByteArray trimmed = line.raw.trimmed();
        const bool meaningless =
            trimmed.isEmpty() || trimmed.startsWith(';') || trimmed.startsWith('#');
        if (line.kind == Kind::Section) {
            inAnySection = true;
            const bool ours = sameName(line.name, section);
            inRepeat = ours && seen;
            seen = seen || ours;
        }
        const bool garbage = line.kind == Kind::Other && !meaningless;
        const bool loose = line.kind == Kind::Entry && !inAnySection;
        if (garbage || loose || (inRepeat && !meaningless)) unread.push_back(i + 1);
    }
    return unread;
}

QByteArray IniFile::text() const {
    QByteArray out = m_start;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        out += m_lines[i].raw;
        if (i + 1 < m_lines.size() || m_endsWithNewline) out += m_newline;
    }
    return out;
}

} // namespace korvel
