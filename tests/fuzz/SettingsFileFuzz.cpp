// The settings file over any text: reading never fails, and what was read, saved into that
// same text (or into an empty file), reads back equal. Entries made of any cells, file
// names that are not UTF-8 among them, come back from a save whole.

#include "FuzzInput.h"

#include "base/PathBytes.h"
#include "playlist/RowDataCodec.h"
#include "playlist/SettingsFile.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvel::fuzz::FuzzInput input(data, size);
    const SettingsRow row = rowFrom(input);
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
