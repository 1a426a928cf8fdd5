#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace korvel {

// An INI text held in memory, read the way the skin descriptions and the settings file are
// written: "[Section]" lines open sections, "key=value" lines give values; section and key
// names match without regard to case; blanks around names and values are dropped; the first
// matching section and key win. Texts are UTF-8; a leading byte-order mark is no part of the
// first line. Lines end at CR LF, LF or a CR alone, whichever the text uses.
//
// Writing changes one key in place (or adds it at the end of its section, or adds the section
// at the end of the text) and keeps every other line byte for byte, the byte-order mark too.
class IniFile {
public:
    // The longest value a read returns, in bytes; longer values are cut at a whole character.
    static constexpr qsizetype MaxValueBytes = 2047;
    static constexpr QByteArrayView ByteOrderMark = "\xEF\xBB\xBF";

    IniFile() = default;
    explicit IniFile(const QByteArray& text);

    bool hasKey(QStringView section, QStringView key) const;

    // The key's value, or `defaultValue` when the key is absent. A key that is present with
    // an empty value gives the empty text.
    QString readString(QStringView section, QStringView key, const QString& defaultValue) const;

    // The key's value as stored, whole (never cut at MaxValueBytes) and undecoded, blanks
    // around it dropped; nothing when the key is absent. For readers that must not lose a
    // byte of a value and decode it themselves (the settings file's rows).
    std::optional<QByteArray> readBytes(QStringView section, QStringView key) const;

    // The key's whole value as an integer (decimal, "$" or "0x" hexadecimal), or
    // `defaultValue` when the key is absent or its value is not a number.
    std::int32_t readInteger(QStringView section, QStringView key, std::int32_t defaultValue) const;

    // The entries of the first `section`, in file order: each key as written (blanks
    // dropped) and its value as stored, undecoded. Later lines of a key are listed too.
    std::vector<std::pair<QString, QByteArray>> entries(QStringView section) const;

    void writeString(QStringView section, QStringView key, const QString& value);
    // The value as the bytes given (a value that must stay as it was stored).
    void writeBytes(QStringView section, QStringView key, const QByteArray& value);
    // Writes each key with its value as writeBytes does, in one pass over the text however
    // many there are (a long list's rows).
    void writeAllBytes(QStringView section,
                       const std::vector<std::pair<QString, QByteArray>>& values);

    // The numbers (from 1) of the lines a reader of `section` never sees and that mean
    // something all the same: lines that are neither blank, a comment (";" or "#"), a
    // "[Section]" nor a "key=value" line; "key=value" lines before the first section; and
    // the lines of `section` where it stands a second time (the first one wins).
    std::vector<qsizetype> unreadLines(QStringView section) const;

    // The whole text as it stands, with the line ending style it was read with.
    QByteArray text() const;

private:
    enum class Kind { Other, Section, Entry };
    struct Line {
        QByteArray raw;
        Kind kind = Kind::Other;
        QString name;     // section name or key, blanks dropped
        QByteArray value; // entry value, blanks dropped
    };

    static Line parseLine(const QByteArray& raw);
    // Index of the entry line, or -1.
    qsizetype findEntry(QStringView section, QStringView key) const;
    // Index of the section line, or -1.
    qsizetype findSection(QStringView section) const;
    qsizetype endOfSection(qsizetype sectionLine) const;

    std::vector<Line> m_lines;
    QByteArray m_start; // the byte-order mark, when the text had one
    QByteArray m_newline = "\r\n";
    bool m_endsWithNewline = true;
};

} // namespace korvel
