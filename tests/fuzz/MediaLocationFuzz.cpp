// The gate to the media engine: whatever a user, a list entry or a second start names, the
// engine's open command only ever gets a readable regular file by its absolute path or a
// stream of an allowed scheme, and only what the gate let through. Locations come from the
// input, with names of a small folder of files, a folder and a pipe mixed in.

#include "FuzzInput.h"

#include "base/KorvelError.h"
#include "base/PathBytes.h"
#include "engine/ClipTracker.h"
#include "engine/MediaLocation.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using korvel::ClipTracker;
using korvel::KorvelError;
using korvel::MediaLocation;
using korvel::PathBytes;
using korvel::fuzz::check;

namespace {

const QStringList& allowedSchemes() {
    static const QStringList schemes{"http", "https", "rtsp", "rtmp", "mms",
                                     "mmsh", "udp",   "rtp",  "ftp"};
    return schemes;
}

bool isReadableFile(const QString& path) {
    const QByteArray bytes = PathBytes::toBytes(path);
    struct stat status {};
    return ::stat(bytes.constData(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::access(bytes.constData(), R_OK) == 0;
}

bool isAllowedStream(const QString& target) {
    const qsizetype colon = target.indexOf(QStringLiteral("://"));
    return colon > 0 && allowedSchemes().contains(target.left(colon)) &&
           MediaLocation::isStream(target);
}

// The engine as the tracker drives it: the gate decides, and every open is checked.
class GatedEngine : public ClipTracker::Engine {
public:
    QString prepare(const QString& location) override {
        m_location = location;
        try {
            m_passed = MediaLocation::engineTarget(location);
        } catch (const KorvelError&) {
            m_passed.reset();
            throw;
        }
        return *m_passed;
    }
    std::int64_t open(const QString& target, std::int64_t) override {
        check(m_passed == target, "only what the gate let through is opened");
        check(!target.contains(QChar(0)), "no NUL reaches the engine");
        if (!isAllowedStream(target) &&
            !(target.startsWith(u'/') && !MediaLocation::isStream(target) &&
              isReadableFile(target))) {
            std::fprintf(stderr, "location: %s\nengine target: %s\n",
                         PathBytes::toBytes(m_location).constData(),
                         PathBytes::toBytes(target).constData());
            korvel::fuzz::broken("a readable file by its absolute path, or an allowed stream");
        }
        return ++m_opens;
    }
    void seek(std::int64_t) override {}
    void stop() override {}
    void setPaused(bool) override {}
    void armOpenTimer(bool) override {}

private:
    QString m_location;
    std::optional<QString> m_passed;
    std::int64_t m_opens = 0;
};

// Names a location may use to reach something real in the current folder.
const char* const Names[] = {"clip.mp4",      "sub",        "pipe",
                             "missing.avi",   "./clip.mp4", "sub/../clip.mp4",
                             "file:clip.mp4", "HTTP://h/x"};

QString locationFrom(korvel::fuzz::FuzzInput& input) {
    const std::uint8_t how = input.byte();
    QString location = PathBytes::toText(input.bytes(200));
    if (how & 1) location += QString::fromLatin1(Names[how >> 1 & 7]);
    if (how & 0x10) location.prepend(QDir::currentPath() + u'/');
    if (how & 0x20) location.prepend(QStringLiteral("file://"));
    return location;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Removed with its files when the run ends.
    static QTemporaryDir folder;
    const QByteArray path = QFile::encodeName(folder.path());
    if (!folder.isValid() || ::chdir(path.constData()) != 0) korvel::fuzz::broken("a folder");
    QFile clip(QStringLiteral("clip.mp4"));
    if (!clip.open(QIODevice::WriteOnly)) korvel::fuzz::broken("a file");
    QDir().mkdir(QStringLiteral("sub"));
    ::mkfifo("pipe", 0600);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvel::fuzz::FuzzInput input(data, size);
    GatedEngine engine;
    ClipTracker tracker(
        engine, [] { return std::int64_t(0); }, 100, 1000);
    tracker.pictureReady();
    while (!input.atEnd()) {
        const QString location = locationFrom(input);
        try {
            tracker.load(location);
        } catch (const KorvelError&) {
            // Refused: the tracker must not open it, which the engine checks.
        }
        try {
            if (input.byte() & 1) tracker.start(false);
            if (input.byte() & 1) tracker.stop();
        } catch (const KorvelError&) {
            // A start opens the clip again through the gate, which may refuse it now.
        }
    }
    return 0;
}
