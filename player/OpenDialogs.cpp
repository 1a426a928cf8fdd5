#include "player/OpenDialogs.h"

#include "base/FixedTexts.h"
#include "playlist/DroppedFiles.h"
#include "playlist/LastFolder.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace korvel {

namespace {

// The texts of the menu's entries name the dialogs too, without their ellipsis.
QString titleOf(const QString& entry) { return QString(entry).remove(u'…').trimmed(); }

QString patterns(const QStringList& extensions) {
    QStringList list;
    for (const QString& extension : extensions) list.append(u'*' + extension);
    return list.join(u' ');
}

} // namespace

QStringList OpenDialogs::mediaFilters() {
    QStringList extensions;
    for (const DroppedFiles::Extension& extension : DroppedFiles::extensions())
        extensions.append(extension.text.toString());
    return {FixedTexts::FilterMedia.arg(patterns(extensions)), FixedTexts::FilterAll.text()};
}

QStringList OpenDialogs::subtitleFilters() {
    const QStringList extensions{QStringLiteral(".srt"), QStringLiteral(".ass"),
                                 QStringLiteral(".ssa"), QStringLiteral(".vtt"),
                                 QStringLiteral(".sub"), QStringLiteral(".sup")};
    return {FixedTexts::FilterSubtitles.arg(patterns(extensions)), FixedTexts::FilterAll.text()};
}

QStringList OpenDialogs::askFiles(QWidget* parent) {
    return askOpen(parent, titleOf(FixedTexts::MenuOpenFiles), mediaFilters(), true);
}

QString OpenDialogs::askSubtitles(QWidget* parent) {
    const QStringList chosen =
        askOpen(parent, titleOf(FixedTexts::MenuLoadSubtitles), subtitleFilters(), false);
    return chosen.isEmpty() ? QString() : chosen.first();
}

// No flag keeps Qt's own dialog: where the platform theme has the desktop's dialog, that one
// shows, as in every other program of the desktop.
QStringList OpenDialogs::askOpen(QWidget* parent, const QString& title, const QStringList& filters,
                                 bool several) {
    QFileDialog dialog(parent, title, m_folder.folder());
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    if (!chosen.isEmpty()) m_folder.remember(chosen.first());
    return chosen;
}

QString OpenDialogs::askLocation(QWidget* parent) {
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("LocationDialog"));
    dialog.setWindowTitle(titleOf(FixedTexts::MenuOpenLocation));
    dialog.setLabelText(FixedTexts::LocationPrompt);
    dialog.setInputMode(QInputDialog::TextInput);
    // Room for a whole URL as it is pasted.
    dialog.resize(560, dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted) return QString();
    return dialog.textValue().isNull() ? QStringLiteral("") : dialog.textValue();
}

void OpenDialogs::showAbout(QWidget* parent) {
    QMessageBox::about(parent, FixedTexts::MenuAbout,
                       FixedTexts::AboutText.arg(QStringLiteral(KORVEL_VERSION)));
}

} // namespace korvel
