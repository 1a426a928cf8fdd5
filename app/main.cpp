// The korvel launcher. It links no Qt: a later start only hands its argument to the running
// instance and ends, costing no more than any small program. Only the first instance loads
// the GUI library that sits beside this executable.

#include "app/Launcher.h"
#include "app/RuntimeDir.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <system_error>

#include <dlfcn.h>

namespace {

using GuiMain = int (*)(int argc, char** argv, const char* endpointPath);

// Beside the executable itself, whatever LD_LIBRARY_PATH or the working folder say.
std::string guiLibraryPath() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        throw std::runtime_error("cannot find the folder of the korvel program: " +
                                 error.message());
    }
    return (executable.parent_path() / "libkorvel_gui.so").string();
}

int runGui(int argc, char** argv, const std::string& endpointPath) {
    const std::string path = guiLibraryPath();
    // Never closed: the GUI's static objects live until the process ends.
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* entry = library != nullptr ? ::dlsym(library, "korvel_gui_main") : nullptr;
    if (entry == nullptr) {
        std::cerr << "korvel: cannot load the user interface " << path << ": " << ::dlerror()
                  << '\n';
        return 1;
    }
    return reinterpret_cast<GuiMain>(entry)(argc, argv, endpointPath.c_str());
}

} // namespace

int main(int argc, char** argv) {
    try {
        korvel::Launcher launcher(
            korvel::RuntimeDir::locate(),
            [argc, argv](const std::string& endpoint) { return runGui(argc, argv, endpoint); },
            std::cerr);
        return launcher.run(argc > 1 ? argv[1] : "");
    } catch (const std::exception& failure) {
        std::cerr << "korvel: " << failure.what() << '\n';
        return 1;
    }
}
