#pragma once

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

namespace korvel {

// The built-in skins as a skin folder holds them: the starting point of a skin of one's own.
class SkinExport {
public:
    using File = std::pair<QString, QByteArray>;

    // Each built-in description (Skin.ini, ListSkin.ini) and every picture it names, under the
    // name it gives the picture, each once.
    static std::vector<File> builtInFiles();
    // Writes them into `folder`, made when missing. Nothing is written over: when a file of one
    // of those names is there already, nothing is written at all.
    static void write(const QString& folder);
};

} // namespace korvel
