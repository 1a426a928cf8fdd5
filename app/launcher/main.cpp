// The korvel launcher. It links no Qt: a later start only hands its argument to the running
// instance and ends, costing no more than any small program. Only the first instance loads
// the GUI library, beside this executable in the build folder or in ../lib/korvel/ installed.

#include "app/launcher/Launcher.h"
#include "app/launcher/LauncherText.h"
#include "app/launcher/RuntimeDir.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

#include <dlfcn.h>

namespace {

using GuiMain = int (*)(int argc, char** argv, const char* endpointPath);
using ExportSkins = int (*)(const char* folder);

// The terminal's standard error, each text whole and at once. No standard stream is made:
// the first one would build the standard library's locale for the whole run.
void tell(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stderr); }

// Found from the executable's real path, whatever LD_LIBRARY_PATH or the working folder say.
std::string guiLibraryPath() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        throw std::runtime_error(
            korvel::LauncherText::text(korvel::LauncherText::Id::NoProgramFolder,
                                       {korvel::LauncherText::systemReason(error.value())}));
    }
    return korvel::Launcher::guiLibraryFor(executable.string());
}

// An entry point of the GUI library, or none when it cannot be loaded (told on stderr).
void* guiEntry(const char* name) {
    const std::string path = guiLibraryPath();
    // Never closed: the GUI's static objects live until the process ends.
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* entry = library != nullptr ? ::dlsym(library, name) : nullptr;
    if (entry == nullptr) {
        const char* why = ::dlerror();
        tell(korvel::LauncherText::text(korvel::LauncherText::Id::CannotLoadGui,
                                        {path, why != nullptr ? why : ""}));
    }
    return entry;
}

int runGui(int argc, char** argv, const std::string& endpointPath) {
    void* entry = guiEntry("korvel_gui_main");
    if (entry == nullptr) return 1;
    return reinterpret_cast<GuiMain>(entry)(argc, argv, endpointPath.c_str());
}

// The built-in skins are the GUI library's: it writes them, in this process, without a window
// and without touching a running player.
int exportSkins(int argc, char** argv) {
    if (argc < 3 || *argv[2] == '\0') {
        tell(korvel::LauncherText::text(korvel::LauncherText::Id::ExportNeedsFolder));
        return 1;
    }
    void* entry = guiEntry("korvel_export_skins");
    if (entry == nullptr) return 1;
    return reinterpret_cast<ExportSkins>(entry)(argv[2]);
}

} // namespace

int main(int argc, char** argv) {
    // The clip is the first argument, byte for byte; further ones are ignored. An empty
    // argument is an empty clip name, which is not the same as none.
    const auto argument = argc > 1 ? std::optional<std::string>(argv[1]) : std::nullopt;
    korvel::LauncherText::setLanguage(korvel::HelpText::language(::getenv));
    try {
        // Answered here, without touching a running player.
        if (const auto information = korvel::Launcher::informationFor(argument.value_or(""))) {
            const std::size_t size = information->size();
            const bool written = std::fwrite(information->data(), 1, size, stdout) == size;
            return written && std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (argument == "--export-skins") return exportSkins(argc, argv);
        korvel::Launcher launcher(
            korvel::Launcher::locateDir(tell),
            [argc, argv](const std::string& endpoint) { return runGui(argc, argv, endpoint); },
            tell);
        return launcher.run(argument);
    } catch (const std::exception& failure) {
        tell(korvel::LauncherText::text(korvel::LauncherText::Id::Failed, {failure.what()}));
        return 1;
    }
}
