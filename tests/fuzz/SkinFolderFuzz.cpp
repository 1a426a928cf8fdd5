// A whole skin folder from a user's disk: a description and the pictures it names, loaded as
// a skin chosen by the user is. Either the skin loads whole, and can be taken and rested with
// its looks read again from the folder, or the failure names the file and leaves the skin in
// use untouched.

#include "FuzzInput.h"

#include "base/KorvelError.h"
#include "skin/SkinEngine.h"
#include "skin/SkinSource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using korvel::fuzz::check;

namespace {

constexpr int MaxFiles = 8;
constexpr qsizetype MaxFileBytes = 256 * 1024;

// The files of the folder: each a name (a length byte, then its bytes) and its contents (four
// length bytes, then the bytes). A name that would leave the folder is not written: the skin's
// own names may still ask for such a file, which is the loader's to refuse.
void writeFiles(korvel::fuzz::FuzzInput& input, const QDir& folder) {
    for (int n = 0; n < MaxFiles && !input.atEnd(); ++n) {
        const QString name = QString::fromUtf8(input.bytes(64).toByteArray());
        const QByteArrayView bytes = input.take(qsizetype(input.u32() % (MaxFileBytes + 1)));
        if (name.isEmpty() || name.contains(u'/') || name.contains(QChar(0)) || name == u"." ||
            name == u"..")
            continue;
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::WriteOnly)) file.write(bytes.data(), bytes.size());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvel::fuzz::FuzzInput input(data, size);
    const bool listSkin = input.byte() & 1;
    const QTemporaryDir dir;
    writeFiles(input, QDir(dir.path()));

    korvel::SkinEngine inUse;
    const QString name = listSkin ? QStringLiteral("ListSkin") : QStringLiteral("Skin");
    std::unique_ptr<korvel::SkinEngine> loaded;
    try {
        loaded = inUse.prepared(korvel::SkinSource::folder(dir.path()), name);
    } catch (const korvel::KorvelError& error) {
        check(error.text().startsWith(QStringLiteral("Cannot use the skin file ")),
              "a failure names the skin's file");
        check(inUse.size().isEmpty() && inUse.model().HotAreas.empty(),
              "a failed skin leaves the one in use as it was");
        return 0;
    }
    check(!loaded->size().isEmpty(), "a skin taken has a face");
    check(!loaded->WindowRegion() || !loaded->WindowRegion()->isEmpty(),
          "a skin taken leaves some of the window");
    inUse.adopt(*loaded);
    check(inUse.face().size() == inUse.size(), "the face is composed at the skin's size");
    inUse.rest(true);
    inUse.rest(false);
    check(inUse.face().size() == inUse.size(), "the looks come back from the folder");
    return 0;
}
