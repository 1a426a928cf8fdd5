// The settings file over any text: reading never fails, and what was read, saved into that
// same text (or into an empty file), reads back equal. Entries made of any cells, file
// names that are not UTF-8 among them, come back from a save whole.
//
// And against rows known beforehand: a file written here by hand, line by line as the format
// says (any line end, a byte-order mark or none, names in any letter case, blanks around
// "=", comments and another section around it), must read as exactly the rows put in it,
// and a save over it must keep them and add no second section.

#include "FuzzInput.h"

#include "base/PathBytes.h"
#include "playlist/RowDataCodec.h"
#include "playlist/SettingsFile.h"

#include <QStringList>

using korvel::PathBytes;
using korvel::RowDataCodec;
using korvel::SettingsData;
using korvel::SettingsFile;
using korvel::SettingsRow;
using korvel::fuzz::check;

namespace {

// Cells from raw bytes, kept the way a dropped file's name is kept.
SettingsRow rowFrom(korvel::fuzz::FuzzInput& input) {
    SettingsRow row;
    for (QString& cell : row) cell = PathBytes::toText(input.bytes(24));
    return row;
}

// A cell the plain row form carries as it is: no "|", "%", blank or control character.
QString plainCell(korvel::fuzz::FuzzInput& input) {
    static const QString Alphabet = QStringLiteral("abcXYZ019._-/:~()[]=;#éü音楽");
    QString cell;
    for (const char byte : input.bytes(12)) cell += Alphabet[quint8(byte) % Alphabet.size()];
    return cell;
}

// The text of a settings file that holds `rows`, shaped by the input.
QByteArray handWritten(korvel::fuzz::FuzzInput& input, const std::vector<SettingsRow>& rows) {
    static const char* const Ends[] = {"\r\n", "\n", "\r"};
    const std::uint8_t shape = input.byte();
    const QByteArray end = Ends[shape % 3];
    const auto key = [shape](const char* name) {
        const QByteArray text(name);
        return shape & 4 ? text.toLower() : shape & 8 ? text.toUpper() : text;
    };
    const QByteArray equals = shape & 16 ? " = " : "=";
    QByteArray text = shape & 32 ? "\xEF\xBB\xBF" : "";
    if (shape & 64) text += "; kept" + end + "[Other]" + end + key("RowData1") + "=x" + end + end;
    text += "[" + key("Korvel setting") + "]" + end;
    if (shape & 128) text += key("ListRow") + equals + QByteArray::number(rows.size() + 2) + end;
    for (std::size_t n = 1; n <= rows.size(); ++n) {
        const SettingsRow& row = rows[n - 1];
        text += key("RowData") + QByteArray::number(n) + equals +
                QStringList(row.begin(), row.end()).join(u'|').toUtf8() + end;
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvel::fuzz::FuzzInput input(data, size);
    const SettingsRow row = rowFrom(input);

    std::vector<SettingsRow> known(input.byte() % 6);
    for (SettingsRow& cells : known) {
        for (QString& cell : cells) cell = plainCell(input);
    }
    const QByteArray file = handWritten(input, known);
    const SettingsData fromFile = SettingsFile::parse(file);
    check(fromFile.rows == known, "a written file reads as the rows put in it");
    const QByteArray resaved = SettingsFile::compose(file, fromFile);
    check(SettingsFile::parse(resaved).rows == known, "a save over it keeps its rows");
    check(resaved.toLower().count("[korvel setting]") == 1, "a save adds no second section");

    const QByteArray text = input.rest().toByteArray();

    // As the file holds it: in UTF-8.
    const QByteArray value = RowDataCodec::encode(row).toUtf8();
    check(RowDataCodec::decode(QString::fromUtf8(value)) == row, "an entry reads back");

    const SettingsData read = SettingsFile::parse(text);
    check(read.rows.size() <= 254, "at most a full list");
    check(read.clientSize.width() >= 1 && read.clientSize.height() >= 1, "a usable size");
    check(SettingsFile::parse(SettingsFile::compose(text, read)) == read,
          "saved over its own text it reads back equal");
    check(SettingsFile::parse(SettingsFile::compose({}, read)) == read,
          "saved as a new file it reads back equal");

    SettingsData changed = read;
    if (changed.rows.size() < 254) changed.rows.push_back(row);
    changed.volume = std::int32_t(std::uint32_t(row[0].size()) * 0x9E3779B9u);
    check(SettingsFile::parse(SettingsFile::compose(text, changed)) == changed,
          "a changed list saved over the text reads back equal");
    const SettingsData kept = SettingsFile::parse(
        SettingsFile::compose(text, changed, SettingsFile::ListPart::KeepStored));
    check(kept.rows == read.rows, "a save that keeps the stored list keeps it");
    return 0;
}
