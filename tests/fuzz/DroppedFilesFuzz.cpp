// The dropped-path rule: a path's extension is the text after its last dot in its last
// component, and a path joins the list by that extension alone, in any letter case.

#include "FuzzInput.h"

#include "playlist/DroppedFiles.h"
#include "playlist/RamFile.h"

using korvel::DroppedFiles;
using korvel::RamFile;
using korvel::fuzz::check;

namespace {

// The extension with its ASCII letters in the case the bits of `mix` pick.
QString mixedCase(QStringView extension, std::uint32_t mix) {
    QString text = extension.toString();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (mix >> (i % 32) & 1) text[i] = text[i].toUpper();
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvel::fuzz::FuzzInput input(data, size);
    const std::uint8_t pick = input.byte();
    const std::uint32_t mix = input.u32();
    const QString path = QString::fromUtf8(input.rest());

    const QString extension = RamFile::Extension(path);
    if (!extension.isEmpty()) {
        check(path.endsWith(extension) && extension.startsWith(u'.'), "a tail from a dot");
        check(extension.lastIndexOf(u'.') == 0, "from the last dot");
        for (const QChar separator : {u'/', u'\\', u':'})
            check(!extension.contains(separator), "within the last component");
    }
    const DroppedFiles::Kind kind = DroppedFiles::kindOf(path);
    check(extension.isEmpty() ? kind == DroppedFiles::Kind::Other : true, "no extension, no kind");
    check(DroppedFiles::kindOf(path + u'/') == DroppedFiles::Kind::Other, "a folder is no file");

    const auto table = DroppedFiles::extensions();
    const DroppedFiles::Extension& listed = table[pick % table.size()];
    check(DroppedFiles::kindOf(path + mixedCase(listed.text, mix)) == listed.kind,
          "a listed extension in any case decides");
    check(DroppedFiles::kindOf(path + mixedCase(listed.text, mix) + u'/' + path) ==
              DroppedFiles::kindOf(u'/' + path),
          "only the last component counts");
    return 0;
}
