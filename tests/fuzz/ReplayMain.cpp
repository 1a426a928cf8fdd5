// Runs a fuzz target over the files of its corpus, for builds without the fuzzer: the suite
// replays every corpus so an input that once broke a reader keeps being tried. The name of
// the file being read is printed when the run dies on it (an abort, a broken invariant, a
// sanitizer report), so the failure says which input it was.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));
// Present when a sanitizer runtime is linked in; it then ends the process without a signal.
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {

char currentFile[4096] = "";

void tellCurrentFile() {
    const char prefix[] = "\nfuzz replay: the run died on ";
    [[maybe_unused]] ssize_t n = ::write(STDERR_FILENO, prefix, sizeof prefix - 1);
    n = ::write(STDERR_FILENO, currentFile, std::strlen(currentFile));
    n = ::write(STDERR_FILENO, "\n", 1);
}

void onFatalSignal(int signal) {
    tellCurrentFile();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void watchForDeath() {
    for (const int signal : {SIGABRT, SIGILL, SIGSEGV, SIGBUS, SIGFPE, SIGTRAP})
        std::signal(signal, onFatalSignal);
    if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(tellCurrentFile);
}

// The files named, and the files in the folders named, sorted so that runs repeat.
QStringList inputsOf(int argc, char** argv) {
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString path = QFile::decodeName(argv[i]);
        if (!QFileInfo(path).isDir()) {
            files.append(path);
            continue;
        }
        QStringList found;
        QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) found.append(it.next());
        found.sort();
        if (found.isEmpty()) std::fprintf(stderr, "fuzz replay: no inputs in %s\n", argv[i]);
        files += found;
    }
    return files;
}

bool replay(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    std::snprintf(currentFile, sizeof currentFile, "%s", name.constData());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "fuzz replay: cannot read %s\n", name.constData());
        return false;
    }
    const QByteArray data = file.readAll();
    try {
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(data.constData()),
                               std::size_t(data.size()));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "fuzz replay: %s raised \"%s\"\n", name.constData(), error.what());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    watchForDeath();
    const QStringList files = inputsOf(argc, argv);
    if (files.isEmpty()) {
        std::fprintf(stderr, "fuzz replay: nothing to replay\n");
        return 1;
    }
    int failures = 0;
    for (const QString& path : files) failures += replay(path) ? 0 : 1;
    std::printf("fuzz replay: %lld inputs, %d failed\n", static_cast<long long>(files.size()),
                failures);
    return failures == 0 ? 0 : 1;
}
