#pragma once

#include <QStringList>

class QWidget;

namespace korvel {

class LastFolder;

// What the player's menu asks the user: files to open, a location, a subtitle file, and the
// program's About box. The file dialogs are the desktop's own where its platform theme
// offers one (a portal, GTK, KDE), else Qt's; they open in the folder last used and remember
// the one chosen in. User-interface thread; each runs its own event loop while it is up.
class OpenDialogs {
public:
    explicit OpenDialogs(LastFolder& folder) : m_folder(folder) {}

    // The files chosen (local paths, in the dialog's order); none when cancelled.
    QStringList askFiles(QWidget* parent);
    // The text typed or pasted; a null text when cancelled.
    QString askLocation(QWidget* parent);
    // The subtitle file chosen; empty when cancelled.
    QString askSubtitles(QWidget* parent);
    void showAbout(QWidget* parent);

    // The filters of the open dialog: the kinds the player opens (media files and lists),
    // then every file.
    static QStringList mediaFilters();
    static QStringList subtitleFilters();

private:
    QStringList askOpen(QWidget* parent, const QString& title, const QStringList& filters,
                        bool several);

    LastFolder& m_folder;
};

} // namespace korvel
