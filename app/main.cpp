// The korvel launcher. It links no Qt: a later start only hands its argument to the running
// instance and ends, costing no more than any small program. Only the first instance loads
// the GUI library, beside this executable in the build folder or in ../lib/korvel/ installed.

#include "app/Launcher.h"
#include "app/LauncherText.h"
#include "app/RuntimeDir.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

#include <dlfcn.h>

namespace {

using GuiMain = int (*)(int argc, char** argv, const char* endpointPath);

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

int runGui(int argc, char** argv, const std::string& endpointPath) {
    const std::string path = guiLibraryPath();
    // Never closed: the GUI's static objects live until the process ends.
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* entry = library != nullptr ? ::dlsym(library, "korvel_gui_main") : nullptr;
    if (entry == nullptr) {
        const char* why = ::dlerror();
        std::cerr << korvel::LauncherText::text(korvel::LauncherText::Id::CannotLoadGui,
                                                {path, why != nullptr ? why : ""});
        return 1;
    }
    return reinterpret_cast<GuiMain>(entry)(argc, argv, endpointPath.c_str());
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
            std::cout << *information << std::flush;
            return std::cout ? 0 : 1;
        }
        korvel::Launcher launcher(
            korvel::Launcher::locateDir(std::cerr),
            [argc, argv](const std::string& endpoint) { return runGui(argc, argv, endpoint); },
            std::cerr);
        return launcher.run(argument);
    } catch (const std::exception& failure) {
        std::cerr << korvel::LauncherText::text(korvel::LauncherText::Id::Failed, {failure.what()});
        return 1;
    }
}
