#include "playlist/PlayList.h"

#include "base/FixedTexts.h"
#include "base/IntegerText.h"
#include "base/KorvelError.h"
#include "base/PathBytes.h"
#include "playlist/DroppedFiles.h"
#include "playlist/LastFolder.h"
#include "playlist/ListCapacity.h"
#include "playlist/ListPalette.h"
#include "playlist/PlayCountBox.h"
#include "playlist/PlayListGrid.h"
#include "playlist/PlayListTexts.h"
#include "playlist/RamFile.h"
#include "skin/DisplayFonts.h"
#include "skin/FaceFocusWalk.h"
#include "skin/ListSkinElements.h"
#include "skin/SkinForm.h"
#include "ui/ErrorBox.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSettings>
#include <QShowEvent>

#include <limits>
#include <utility>

namespace korvel {

namespace {

// The bound fields in the row below the grid, client pixels.
constexpr QRect GroupPlace{57, 175, 100, 20};
constexpr QRect PlayCountPlace{160, 173, 41, 24};
constexpr QRect UrlPlace{205, 176, 225, 20};

// Qt's own file dialog keeps its history and sizes in "QtProject.conf" in the user's
// configuration folder, where Korvel keeps nothing but its settings file. The program keeps
// no other settings of Qt's, so these are sent where nothing can be written or read.
void keepNoDialogState() {
    static const bool sent = [] {
        for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
            QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
        }
        return true;
    }();
    Q_UNUSED(sent);
}

QFont listFont() {
    DisplayFonts::installSubstitutes();
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    return font;
}

QLineEdit* createEdit(QWidget* parent, const QString& name, const QString& hint, QRect at) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    // The hint is for assistive tools only: the playlist shows no tooltips.
    edit->setAccessibleName(hint);
    // A cell is never cut by showing it.
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->setGeometry(at);
    // Dropped files belong to the list, never to a field's text.
    edit->setAcceptDrops(false);
    return edit;
}

} // namespace

// A borderless window of its own, not a tool window: some window managers (KWin) take a
// program's tool windows off the screen while another program is active, and the list is
// where files are dropped from other programs. It is kept off the task bar where it is shown.
TForm2::TForm2() : QWidget(nullptr, Qt::Window), m_skinForm(new TSkinForm(this)) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Korvel PlayList"));
    // Every text of the list is in the list's font. Set on the window first, so that what is
    // made inside it starts in it: the table's header measures its text as it is made, and
    // would load the desktop's font (and hold it) only to be set over.
    setFont(listFont());
    resize(ListSkin::FaceSize);
    setAcceptDrops(true);
    m_skinForm->setKeyColor(0xFFFFFF);
    m_skinForm->setTolerance(0);
    m_skinForm->pointer().OnMouseUpNotify = [this](const QString& id, Qt::MouseButton button,
                                                   ShiftState shift, int x, int y) {
        SkinForm1MouseUpNotify(id, button, shift, x, y);
    };
    m_list.OnClick = [this] { PlayListClick(); };
    m_editor.ShowCurrentRow = [this] { ShowCurrentRow(); };
    // The face holds the keys while one of its buttons has the focus.
    watchKeys(m_skinForm);
    installEventFilter(this);
    ErrorBox::run([this] { FormCreate(); });
}

TForm2::~TForm2() {
    // The grid and the fields go before the list they show and write.
    m_list.OnClick = nullptr;
    delete m_grid;
    delete m_group;
    delete m_playCount;
    delete m_url;
}

// The grid and the fields are there, titled and sized, even when the skin failed to load.
// The grid takes the list's rows, current row and selection as they are when it is made.
void TForm2::makeFields() {
    if (m_grid != nullptr) return;
    m_grid = new PlayListGrid(m_list, this);
    m_grid->setGeometry(ListSkin::GridPlace);
    m_grid->setAccessibleName(PlayListTexts::ListGrid);
    createFields();
    const std::vector<QWidget*> fields{m_grid, m_group, m_playCount, m_url};
    for (QWidget* field : fields) watchKeys(field);
    m_walk = new FaceFocusWalk(*m_skinForm, fields);
}

PlayListGrid* TForm2::PlayList() {
    makeFields();
    return m_grid;
}

QLineEdit* TForm2::Group() {
    makeFields();
    return m_group;
}

PlayCountBox* TForm2::PlayCount() {
    makeFields();
    return m_playCount;
}

QLineEdit* TForm2::URL() {
    makeFields();
    return m_url;
}

void TForm2::setVisible(bool visible) {
    if (visible) makeFields();
    QWidget::setVisible(visible);
}

void TForm2::createFields() {
    m_group = createEdit(this, QStringLiteral("Group"), PlayListTexts::GroupField, GroupPlace);
    m_playCount = new PlayCountBox(this);
    m_playCount->setAcceptDrops(false);
    for (QLineEdit* typing : m_playCount->findChildren<QLineEdit*>()) typing->setAcceptDrops(false);
    m_playCount->setObjectName(QStringLiteral("PlayCount"));
    m_playCount->setAccessibleName(PlayListTexts::CountField);
    m_playCount->setGeometry(PlayCountPlace);
    m_url = createEdit(this, QStringLiteral("URL"), PlayListTexts::UrlField, UrlPlace);
    const QFont font = listFont();
    m_group->setFont(font);
    m_playCount->setFont(font);
    m_url->setFont(font);
    connect(m_group, &QLineEdit::textChanged, this, [this] { GroupChange(); });
    connect(m_playCount, &PlayCountBox::shownTextChanged, this, [this] { PlayCountChange(); });
    connect(m_url, &QLineEdit::textChanged, this, [this] { URLChange(); });
}

// The fields' and the grid's colours are style sheets, which bring the toolkit's style-sheet
// machinery with them (0.85 MB of an idle player's memory): they are given when the window is
// first shown, and a player whose list is never opened carries none of it.
void TForm2::showEvent(QShowEvent* event) {
    if (!std::exchange(m_dressed, true)) {
        m_group->setStyleSheet(ListPalette::editSheet());
        m_url->setStyleSheet(ListPalette::editSheet());
        m_playCount->setStyleSheet(ListPalette::spinSheet());
        m_grid->dress();
    }
    QWidget::showEvent(event);
}

void TForm2::FormCreate() {
    m_skinForm->restWhileHidden();
    m_skinForm->LoadSkin(QStringLiteral("ListSkin"));
    m_list.NumberRows();
}

void TForm2::SkinForm1MouseUpNotify(const QString& id, Qt::MouseButton button, ShiftState, int,
                                    int) {
    ErrorBox::run([&] { m_commands.SkinForm1MouseUpNotify(id, button); });
    if (OnToggles) {
        ErrorBox::run([this] {
            OnToggles(m_skinForm->GetButtonState(ListElement::Loop),
                      m_skinForm->GetButtonState(ListElement::Shuffle));
        });
    }
    emit buttonReleased(id);
}

void TForm2::FormKeyDown(int key) { m_commands.FormKeyDown(key); }

void TForm2::showToggles(bool loop, bool shuffle) {
    m_skinForm->SetButtonState(ListElement::Loop, loop);
    m_skinForm->SetButtonState(ListElement::Shuffle, shuffle);
    m_skinForm->update();
}

void TForm2::HideList() { hide(); }

void TForm2::AddFromFields() {
    makeFields();
    ListCapacity capacity(m_list);
    if (!capacity.add(m_url->text())) capacity.raiseIfLeftOut();
    m_list.selectRow(m_list.rowCount() - 2);
    StoreEditFields();
    m_list.NumberRows();
}

void TForm2::PlayFromTop() {
    if (OnPlayFromTop) OnPlayFromTop();
}

void TForm2::PasteHistory() {
    m_editor.PasteHistory(OnReadHistory ? OnReadHistory() : QStringList());
}

void TForm2::SaveRamFile() {
    keepNoDialogState();
    // The folder any of the player's file dialogs used last, else that of the last list saved
    // or dropped, else the user's home.
    const QString listFolder =
        !m_lastRamFile.isEmpty() ? QFileInfo(m_lastRamFile).absolutePath() : m_ramFolder;
    const QString folder =
        m_lastFolder ? m_lastFolder->folder(listFolder) : LastFolder().folder(listFolder);
    QFileDialog dialog(this, QString(), folder);
    const QString m3u8Filter = PlayListTexts::M3u8Filter;
    dialog.setNameFilters({PlayListTexts::RamFilter, m3u8Filter, FixedTexts::FilterAll.text()});
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // No overwrite question. The desktop's own dialog where its platform theme offers one.
    dialog.setOptions(QFileDialog::DontConfirmOverwrite);
    // The last name offered again, in the folder above.
    if (!m_lastRamFile.isEmpty()) dialog.selectFile(QFileInfo(m_lastRamFile).fileName());
    const int answer = dialog.exec();
    // As the dialog closes, the window manager may give the keyboard to another of the
    // player's windows (openbox gives it to the panel): it comes back here, where the key that
    // opened the dialog was pressed.
    activateWindow();
    if (answer != QDialog::Accepted) return;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return;
    // A name without an extension takes that of the kind chosen.
    const bool m3u8 =
        dialog.selectedNameFilter() == m3u8Filter && RamFile::Extension(chosen.first()).isEmpty();
    m_lastRamFile =
        m3u8 ? chosen.first() + QStringLiteral(".m3u8") : RamFile::WithRamExtension(chosen.first());
    if (m_lastFolder) m_lastFolder->remember(m_lastRamFile);
    RamFile::SaveRamFile(m_lastRamFile, m_list);
}

void TForm2::DropFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        const DroppedFiles::Kind kind = DroppedFiles::kindOf(path);
        if (kind != DroppedFiles::Kind::Media && kind != DroppedFiles::Kind::Other) {
            m_ramFolder = QFileInfo(path).absolutePath();
        }
    }
    DroppedFiles::Drop(m_list, paths, [this] { ShowCurrentRow(); });
}

void TForm2::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

// A drop anywhere on the window is a drop on the list: the fields never take a dropped
// file as text. The program that dragged waits until the drop event returns, so the files
// are taken, and an error box shown, only after it has.
void TForm2::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) paths.append(PathBytes::fromFileUrl(url));
    }
    event->acceptProposedAction();
    QMetaObject::invokeMethod(
        this, [this, paths] { ErrorBox::run([this, &paths] { DropFiles(paths); }); },
        Qt::QueuedConnection);
}

// Fields not yet made have never had the keyboard.
bool TForm2::typingLocation() const {
    return m_url != nullptr && QApplication::focusWidget() == m_url;
}

bool TForm2::focusNextPrevChild(bool next) {
    makeFields();
    return m_walk->move(next);
}

bool TForm2::editing() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus && m_grid != nullptr &&
           (focus == m_group || focus == m_url || m_playCount->isAncestorOf(focus) ||
            focus == m_playCount);
}

void TForm2::watchKeys(QWidget* field) {
    field->installEventFilter(this);
    for (QWidget* child : field->findChildren<QWidget*>()) child->installEventFilter(this);
}

// Keys are seen on their way to the focused field and passed on. Each key press reaches
// the filter once, at the widget that has the focus. Space and Enter press a button of the
// face that has the focus, and go no further.
bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    const QWidget* focus = QApplication::focusWidget();
    if (event->type() == QEvent::KeyPress && (watched == focus || (!focus && watched == this))) {
        const auto* press = static_cast<QKeyEvent*>(event);
        const int key = press->key();
        const bool pressKey = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
        const bool plain = (press->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (watched == m_skinForm && pressKey && plain && m_skinForm->pressFocusedElement())
            return true;
        ErrorBox::run([this, key] { FormKeyDown(key); });
        // A key that hid the window (Enter, Esc) goes no further: the field it came to has no
        // use for it, and passed on to the window, with the focus gone, it would run again.
        if (!isVisible()) return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm2::ShowCurrentRow() {
    const int row = m_list.currentRow();
    if (!m_list.isEntry(row)) return;
    makeFields();
    m_skinForm->SetButtonState(ListElement::Play, m_list.cell(PlayListModel::PlayColumn, row) ==
                                                      PlayListColumns::PlayOn);
    m_group->setText(m_list.cell(PlayListModel::GroupColumn, row));
    m_playCount->setValue(IntegerText::toInt(m_list.cell(PlayListModel::CountColumn, row)));
    m_url->setText(m_list.cell(PlayListModel::LocationColumn, row));
}

void TForm2::GroupChange() {
    makeFields();
    const int row = m_list.currentRow();
    if (m_list.isEntry(row)) m_list.setCell(PlayListModel::GroupColumn, row, m_group->text());
}

void TForm2::PlayCountChange() {
    makeFields();
    const int row = m_list.currentRow();
    if (!m_list.isEntry(row)) return;
    m_list.setCell(PlayListModel::CountColumn, row, QString::number(m_playCount->textValue()));
}

void TForm2::URLChange() {
    makeFields();
    const int row = m_list.currentRow();
    if (!m_list.isEntry(row)) return;
    const QString location = m_url->text();
    m_list.setCell(PlayListModel::LocationColumn, row, location);
    m_list.setCell(PlayListModel::FileNameColumn, row, PlayListModel::FileName(location));
}

void TForm2::StorePlayFlag() {
    const int row = m_list.currentRow();
    if (m_list.isEntry(row)) m_list.setCell(PlayListModel::PlayColumn, row, playFlag());
}

void TForm2::StoreEditFields() {
    makeFields();
    const int row = m_list.currentRow();
    if (m_list.isEntry(row)) m_list.setCell(PlayListModel::PlayColumn, row, playFlag());
    const QString location = m_url->text();
    m_list.setCell(PlayListModel::GroupColumn, row, m_group->text());
    m_list.setCell(PlayListModel::CountColumn, row, QString::number(m_playCount->textValue()));
    m_list.setCell(PlayListModel::FileNameColumn, row, PlayListModel::FileName(location));
    m_list.setCell(PlayListModel::LocationColumn, row, location);
}

QString TForm2::playFlag() const {
    return m_skinForm->GetButtonState(ListElement::Play) ? PlayListColumns::PlayOn
                                                         : PlayListColumns::PlayOff;
}

} // namespace korvel
