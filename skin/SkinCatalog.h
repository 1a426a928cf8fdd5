#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace korvel {

// The skins of the user's own and those installed beside the program: each a folder holding a
// player skin and a list skin (Skin.ini, ListSkin.ini and their pictures), named by the
// folder's name, in a skin folder `korvel/skins` of the desktop's data folders.
class SkinCatalog {
public:
    struct Entry {
        QString name;
        QString folder;
        bool operator==(const Entry&) const = default;
    };

    // $XDG_DATA_HOME/korvel/skins (~/.local/share when unset), then that of each
    // $XDG_DATA_DIRS entry in its order (/usr/local/share and /usr/share when unset), then
    // `extra` (the skins of an installed tree that runs from another prefix).
    static QStringList searchFolders(const QStringList& extra = {});
    // The skins in `folders`, sorted by name; a name found in two folders is the earlier
    // folder's, so a user's own skin stands in for an installed one of the same name.
    static std::vector<Entry> list(const QStringList& folders);
    static std::optional<Entry> find(const QString& name, const QStringList& folders);
};

} // namespace korvel
