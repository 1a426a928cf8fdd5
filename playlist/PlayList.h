#pragma once

#include "playlist/ListCommands.h"
#include "playlist/ListEditor.h"
#include "playlist/PlayListModel.h"
#include "skin/SkinPointer.h"

#include <QWidget>

#include <functional>

class QLineEdit;

namespace korvel {

class FaceFocusWalk;
class LastFolder;
class PlayCountBox;
class PlayListGrid;
class TSkinForm;

// The playlist window: a borderless window with the skin "ListSkin", the grid of the list
// and, under it, the fields bound to the list's current row: the PLAY toggle of the skin
// (Play), Group, PlayCount (Count) and URL (Path or URL, and FileName from it). It starts
// hidden; hiding it changes nothing in the list. The grid and the fields are made when they
// are first needed: as the window is first shown, or when a row is first shown in the
// fields; a player whose list is never opened holds no text of it, nor its fonts.
//
// Binding: a field's change handler runs on every change of its text, typed or set from
// code, and writes the field into the current row when that row is an entry. Showing a row
// therefore also writes back every field whose text it changes.
class TForm2 : public QWidget, private ListActions {
    Q_OBJECT

public:
    TForm2();
    ~TForm2() override;

    TSkinForm* SkinForm1() const { return m_skinForm; }
    // The list: its cells, row count, current row and selection. Other windows read and
    // move the play cursor here.
    PlayListModel& model() { return m_list; }
    const PlayListModel& model() const { return m_list; }
    // The grid and the fields, made here if they are not yet.
    PlayListGrid* PlayList();
    QLineEdit* Group();
    PlayCountBox* PlayCount();
    QLineEdit* URL();

    void setVisible(bool visible) override;

    // A release on the face: only left-button releases are commands.
    void SkinForm1MouseUpNotify(const QString& id, Qt::MouseButton button, ShiftState shift, int x,
                                int y);

    // When the current row is an entry, shows it: PLAY on when Play is exactly "On", then
    // Group, then PlayCount from Count read as a whole number, then URL. A Count that is not
    // a whole number raises the conversion error with PLAY and Group already shown and
    // PlayCount and URL as they were. Does nothing for the end row.
    void ShowCurrentRow();
    // The click notification of the grid.
    void PlayListClick() { ShowCurrentRow(); }
    void GroupChange();
    void PlayCountChange();
    void URLChange();
    // Play of the current entry from the PLAY toggle, which has flipped already.
    void StorePlayFlag() override;
    void HideList() override;
    // ADD: an entry for the URL text (also an empty one). Composed on the end row, the new
    // entry takes every field; with another row current it keeps the defaults of a new entry.
    void AddFromFields() override;
    // Runs OnPlayFromTop, which the program wires to the playback window.
    void PlayFromTop() override;
    // HISTORY: the sources OnReadHistory gives (the playback window's history, oldest first).
    void PasteHistory() override;
    // RAM: asks for a file name (the last one offered again; the dialog opens in the folder
    // the player's file dialogs used last, else in the folder of the last list saved or
    // dropped, else in the home folder) and writes the list there: as
    // an M3U8 list when the name ends in ".m3u8", else as a .ram list.
    void SaveRamFile() override;
    bool editing() const override;
    bool typingLocation() const override;
    // Local files dropped on the window, in the order given: media files and lists join
    // the list, which is then sorted by location; row 1 becomes current.
    void DropFiles(const QStringList& paths);
    // Every key pressed while the window is active, before the focused field sees it; the
    // key still reaches the field afterwards.
    void FormKeyDown(int key);

    // The folder memory the file dialogs share; none (tests) keeps none between dialogs.
    void setLastFolder(LastFolder* folder) { m_lastFolder = folder; }

    std::function<void()> OnPlayFromTop;
    std::function<QStringList()> OnReadHistory;
    // After every release on the face: LOOP and SHUFFLE as they stand now (a press flips them,
    // also one released outside every button). They are the player's state, which the program
    // wires this to; the face only shows them (showToggles).
    std::function<void(bool loop, bool shuffle)> OnToggles;
    void showToggles(bool loop, bool shuffle);
    // Writes every field into the current row: Play only when the row is an entry, the rest
    // whatever the row is. For a new entry that was just selected.
    void StoreEditFields();

signals:
    // A release on the face was handled (a toggle such as LOOP or SHUFFLE may have flipped).
    void buttonReleased(const QString& id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Tab and Shift+Tab walk the face's buttons and the fields together, in reading order.
    bool focusNextPrevChild(bool next) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    // The grid and the fields, once; they and the keyboard's walk over them.
    void makeFields();
    void createFields();
    QString playFlag() const;
    void watchKeys(QWidget* field);

    TSkinForm* m_skinForm;
    PlayListModel m_list;
    PlayListGrid* m_grid = nullptr;
    bool m_dressed = false; // the fields' and the grid's colours are given
    QLineEdit* m_group = nullptr;
    PlayCountBox* m_playCount = nullptr;
    QLineEdit* m_url = nullptr;
    FaceFocusWalk* m_walk = nullptr;
    ListEditor m_editor{m_list};
    ListCommands m_commands{*this, m_editor};
    QString m_lastRamFile;
    QString m_ramFolder; // of the last list dropped
    LastFolder* m_lastFolder = nullptr;
};

} // namespace korvel
