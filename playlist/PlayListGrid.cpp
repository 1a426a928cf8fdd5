#include "playlist/PlayListGrid.h"

#include "playlist/ListPalette.h"
#include "playlist/PlayListModel.h"
#include "playlist/PlayListTableModel.h"
#include "skin/DisplayFonts.h"
#include "ui/ErrorBox.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>

#include <algorithm>

namespace korvel {

namespace {

const int ColumnWidths[PlayListModel::ColumnCount] = {25, 30, 70, 35, 100, 50, 50, 200};

// Whole rows: the selected block in a muted fill, the current row in a bright one. Text sits
// two pixels in from the left and is cut at the cell's edge, as the column widths were made
// for ("00:00:05" just fits the Start column); no focus frame.
class RowDelegate : public QStyledItemDelegate {
public:
    explicit RowDelegate(const PlayListModel& list, QObject* parent)
        : QStyledItemDelegate(parent), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool current = PlayListTableModel::listRow(index.row()) == m_list.currentRow();
        const bool selected = current || option.state.testFlag(QStyle::State_Selected);
        if (selected)
            painter->fillRect(option.rect,
                              current ? ListPalette::MarkFill : ListPalette::BlockFill);
        painter->save();
        painter->setClipRect(option.rect);
        painter->setPen(selected ? ListPalette::MarkText : ListPalette::Text);
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(2, 0, 0, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          index.data().toString());
        painter->restore();
    }

private:
    const PlayListModel& m_list;
};

} // namespace

PlayListGrid::PlayListGrid(PlayListModel& list, QWidget* parent)
    : QTableView(parent), m_list(list), m_table(new PlayListTableModel(list, this)) {
    setObjectName(QStringLiteral("PlayList"));
    setModel(m_table);
    setItemDelegate(new RowDelegate(list, this));
    setSelectionBehavior(SelectRows);
    setSelectionMode(ContiguousSelection);
    setEditTriggers(NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setUpLook();
    setUpColumns();

    connect(&list, &PlayListModel::cellChanged, m_table, &PlayListTableModel::showCell);
    connect(&list, &PlayListModel::rowCountChanged, this, &PlayListGrid::showRowCount);
    connect(&list, &PlayListModel::cursorChanged, this, &PlayListGrid::showCursor);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &PlayListGrid::viewCurrentChanged);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PlayListGrid::viewSelectionChanged);
    showCursor();
}

PlayListGrid::~PlayListGrid() = default;

void PlayListGrid::setUpLook() {
    DisplayFonts::installSubstitutes();
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    setFont(font);
    horizontalHeader()->setFont(font);
    setFrameShape(NoFrame);
}

void PlayListGrid::dress() { setStyleSheet(ListPalette::gridSheet()); }

void PlayListGrid::setUpColumns() {
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(4);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setFixedHeight(RowHeight + 2);
    header->setSectionResizeMode(QHeaderView::Interactive);
    for (int column = 0; column < PlayListModel::ColumnCount; ++column) {
        setColumnWidth(column, ColumnWidths[column]);
    }
}

QRect PlayListGrid::cellRect(int column, int row) const {
    return visualRect(m_table->index(PlayListTableModel::viewRow(row), column));
}

void PlayListGrid::mousePressEvent(QMouseEvent* event) {
    // Only the left button moves the current row, as on the skin faces.
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (event->modifiers() & Qt::ShiftModifier) {
        extendTo(pressed);
        event->accept();
        return;
    }
    m_pressMoved = false;
    QTableView::mousePressEvent(event);
    if (pressed.isValid()) m_anchor = PlayListTableModel::listRow(pressed.row());
    // A click on the row that is current is a click all the same.
    if (pressed.isValid() && !m_pressMoved) {
        report([&] { m_list.userMove(PlayListTableModel::listRow(pressed.row())); });
    }
}

// The table's own handlers tell assistive tools, whatever the grid's state; the view's do
// the rest of the work.
void PlayListGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (isVisible() && hasFocus()) {
        QTableView::currentChanged(current, previous);
    } else {
        QAbstractItemView::currentChanged(current, previous);
    }
}

void PlayListGrid::selectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    if (isVisible()) {
        QTableView::selectionChanged(selected, deselected);
    } else {
        QAbstractItemView::selectionChanged(selected, deselected);
    }
}

void PlayListGrid::showRowCount(int oldCount, int newCount) {
    QScopedValueRollback<bool> syncing(m_syncing, true);
    m_table->showRowCount(oldCount, newCount);
}

// A Shift click extends the block from the anchor: the row last clicked or moved to without
// Shift, or the top row of a block selected from code.
void PlayListGrid::extendTo(const QModelIndex& pressed) {
    if (!pressed.isValid()) return;
    const int row = PlayListTableModel::listRow(pressed.row());
    const int anchor =
        m_anchor > 0 && m_anchor < m_list.rowCount() ? m_anchor : m_list.currentRow();
    report([&] {
        m_list.userSelection(std::min(anchor, row), std::max(anchor, row));
        m_list.userMove(row);
    });
    syncView(anchor);
}

void PlayListGrid::showCursor() {
    if (m_reporting) return;
    m_anchor = m_list.selectionTop();
    syncView(m_anchor);
}

void PlayListGrid::syncView(int anchor) {
    QScopedValueRollback<bool> syncing(m_syncing, true);
    const int column = std::max(currentIndex().column(), 0);
    // The view's own anchor for Shift and the arrows is the index last made current through
    // the view; the current row then follows without moving it.
    setCurrentIndex(m_table->index(PlayListTableModel::viewRow(anchor), column));
    const QModelIndex current =
        m_table->index(PlayListTableModel::viewRow(m_list.currentRow()), column);
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    const QItemSelection block(
        m_table->index(PlayListTableModel::viewRow(m_list.selectionTop()), 0),
        m_table->index(PlayListTableModel::viewRow(m_list.selectionBottom()),
                       PlayListModel::ColumnCount - 1));
    selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
    viewport()->update();
}

void PlayListGrid::viewCurrentChanged(const QModelIndex& current) {
    if (m_syncing || !current.isValid()) return;
    m_pressMoved = true;
    if (!(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier)) {
        m_anchor = PlayListTableModel::listRow(current.row());
    }
    report([&] { m_list.userMove(PlayListTableModel::listRow(current.row())); });
}

void PlayListGrid::viewSelectionChanged() {
    if (m_syncing) return;
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty()) return;
    int top = selection.first().top();
    int bottom = selection.first().bottom();
    for (const QItemSelectionRange& range : selection) {
        top = std::min(top, range.top());
        bottom = std::max(bottom, range.bottom());
    }
    report([&] {
        m_list.userSelection(PlayListTableModel::listRow(top), PlayListTableModel::listRow(bottom));
    });
}

void PlayListGrid::report(const std::function<void()>& action) {
    {
        QScopedValueRollback<bool> reporting(m_reporting, true);
        ErrorBox::run(action);
    }
    // The current row's look depends on the list's current row, not only on the selection.
    viewport()->update();
}

} // namespace korvel
