// The INI reader and writer over any text: reading never fails, a text without mixed line
// ends (a byte-order mark or none) is given back byte for byte, and a key written reads back as
// written while every line it did not touch stays.

#include "FuzzInput.h"

#include "base/IniFile.h"

#include <QStringDecoder>

#include <utility>
#include <vector>

using korvel::IniFile;
using korvel::fuzz::check;

namespace {

// A text keeps its line ends exactly when they are all of one kind: CR LF, LF or CR alone.
bool uniformLineEnds(const QByteArray& text) {
    bool paired = false, bare = false, lone = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') bare = true;
        if (text[i] != '\r') continue;
        if (i + 1 < text.size() && text[i + 1] == '\n') {
            paired = true;
            ++i;
        } else {
            lone = true;
        }
    }
    return int(paired) + int(bare) + int(lone) <= 1;
}

// A value as the program writes one (numbers, encoded rows): on one line, no CR in it, and read
// back without its outer blanks.
QString storableValue(QByteArrayView bytes) {
    QString value = QString::fromUtf8(bytes);
    value.remove(u'\n');
    value.remove(u'\r');
    return value;
}

bool isUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(bytes); // the decoder only runs when its result is taken
    return !decoder.hasError();
}

QByteArray stored(const QString& value) { return value.toUtf8().trimmed(); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvel::fuzz::FuzzInput input(data, size);
    const QString value = storableValue(input.bytes(64));
    const QByteArray text = input.rest().toByteArray();

    const IniFile ini(text);
    if (uniformLineEnds(text)) check(ini.text() == text, "an unchanged text is given back");
    const QString read = ini.readString(u"Fuzz", u"Key", QStringLiteral("-"));
    // Each stored byte gives at most one character, also where it is not UTF-8.
    check(read.size() <= IniFile::MaxValueBytes, "a read value is cut to its limit");
    if (const auto whole = ini.readBytes(u"Fuzz", u"Key"); whole && isUtf8(*whole)) {
        const QByteArray cut = read.toUtf8();
        check(whole->startsWith(cut), "a value is cut, not changed");
        check(cut.size() == whole->size() || cut.size() > IniFile::MaxValueBytes - 4,
              "a value is cut at the last whole character that fits");
    }
    (void)ini.readInteger(u"Fuzz", u"Key", 0);

    IniFile written(text);
    written.writeString(u"Fuzz", u"Key", value);
    check(written.readBytes(u"Fuzz", u"Key") == stored(value), "a written value reads back");
    const IniFile again(written.text());
    check(again.readBytes(u"Fuzz", u"Key") == stored(value), "a saved value reads back");
    if (uniformLineEnds(text))
        check(again.text() == written.text(), "a saved text reads back unchanged");
    // Another key of another section is not touched by the write.
    check(again.readBytes(u"Other", u"Key") == ini.readBytes(u"Other", u"Key"),
          "other sections keep their values");

    // Keys written together land as those written one by one, a key given twice included.
    const std::vector<std::pair<QString, QByteArray>> keys = {
        {QStringLiteral("Key"), value.toUtf8()},
        {QStringLiteral("New"), "1"},
        {QStringLiteral("KEY"), "2"},
    };
    IniFile oneByOne(text), together(text);
    for (const auto& [key, bytes] : keys) oneByOne.writeBytes(u"Fuzz", key, bytes);
    together.writeAllBytes(u"Fuzz", keys);
    check(together.text() == oneByOne.text(), "keys written together as one by one");
    check(together.entries(u"Fuzz").size() == IniFile(together.text()).entries(u"Fuzz").size(),
          "the section's entries read back");
    return 0;
}
