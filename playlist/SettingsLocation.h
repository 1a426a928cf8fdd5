#pragma once

#include <QString>

namespace korvel {

// Where the settings file lives.
//
// Normally in the user's configuration folder: $XDG_CONFIG_HOME/korvel/korvel.ini, or
// ~/.config/korvel/korvel.ini when that variable is unset, empty or not an absolute path
// (relative values are ignored, as the base directory rules ask). A portable install keeps
// its settings beside the program instead: when a korvel.ini already stands in the
// executable's folder and both it and the folder are writable (a save writes a new file
// beside it and renames it over the old one), that file is used.
//
// The folder is not made here; the writer makes it when it saves (SettingsFile::write).
// Runs on any thread; reads the file system only to look at the executable's folder.
class SettingsLocation {
public:
    static inline const QString FileName = QStringLiteral("korvel.ini");

    // `executableDir` is the folder of the running program; `xdgConfigHome` and `home` are
    // the values of those environment variables (empty when unset). Raises "Cannot find a
    // folder for the settings: HOME is not set" when neither a portable file nor a usable
    // $XDG_CONFIG_HOME nor $HOME gives a place.
    static QString choose(const QString& executableDir, const QString& xdgConfigHome,
                          const QString& home);

    // choose() for this process: the application's folder (a QCoreApplication must exist)
    // and its environment.
    static QString forThisProcess();

private:
    static bool isPortable(const QString& executableDir);
};

} // namespace korvel
