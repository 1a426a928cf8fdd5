#pragma once

#include <QString>

namespace korvel {

// The folder the user last chose a file in, with any of the player's file dialogs: the next
// one opens there, also after a restart (the settings file keeps it). User-interface thread.
class LastFolder {
public:
    // The folder for the next dialog: the one last used while it still stands, else
    // `fallback`, else the user's home.
    QString folder(const QString& fallback = QString()) const;
    // The folder of `file`, a local path a dialog gave. A folder whose name holds a line break
    // or another control character could not be kept on a settings line: it is not taken.
    void remember(const QString& file);

    // As the settings file keeps it: empty for none.
    const QString& stored() const { return m_folder; }
    void restore(const QString& folder) { m_folder = folder; }

private:
    QString m_folder;
};

} // namespace korvel
