#include "playlist/ListPalette.h"

namespace korvel {

namespace {

QString css(const QColor& colour) { return colour.name(); }

// What the edit boxes and the spin box share: `type` and its horizontal padding.
QString fieldSheet(const QString& type, int padding) {
    using P = ListPalette;
    return QStringLiteral("%1 { background-color: %2; color: %3; border: 1px solid %4;"
                          " border-radius: 2px; padding: 0 %5px; selection-background-color: %6;"
                          " selection-color: %7; }"
                          "%1:focus { border-color: %8; }")
        .arg(type, css(P::FieldBase), css(P::FieldText), css(P::FieldEdge))
        .arg(padding)
        .arg(css(P::MarkFill), css(P::MarkText), css(P::FieldFocusEdge));
}

} // namespace

QString ListPalette::gridSheet() {
    return QStringLiteral(
               "QTableView { background-color: %1; gridline-color: %2; border: none; }"
               "QHeaderView { background-color: %3; }"
               "QHeaderView::section { background-color: %3; color: %4; border: none;"
               " border-right: 1px solid %1; border-bottom: 1px solid %5;"
               " padding: 0 0 0 2px; }"
               "QScrollBar { background: %6; margin: 0; }"
               "QScrollBar:vertical { width: 11px; }"
               "QScrollBar:horizontal { height: 11px; }"
               "QScrollBar::handle { background: %7; border-radius: 3px; margin: 2px; }"
               "QScrollBar::handle:hover { background: %8; }"
               "QScrollBar::handle:vertical { min-height: 16px; }"
               "QScrollBar::handle:horizontal { min-width: 16px; }"
               "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none; }"
               "QScrollBar::add-page, QScrollBar::sub-page { background: none; }"
               "QAbstractScrollArea::corner { background: %6; }")
        .arg(css(GridBase), css(GridLine), css(Raised), css(HeaderText), css(HeaderEdge),
             css(ScrollBase), css(ScrollHandle), css(ScrollHandleHover));
}

QString ListPalette::editSheet() { return fieldSheet(QStringLiteral("QLineEdit"), 2); }

QString ListPalette::spinSheet() {
    return fieldSheet(QStringLiteral("QSpinBox"), 1) +
           QStringLiteral(
               "QSpinBox::up-button, QSpinBox::down-button { subcontrol-origin: padding;"
               " width: 11px; border: none; background-color: %1; }"
               "QSpinBox::up-button { subcontrol-position: top right; }"
               "QSpinBox::down-button { subcontrol-position: bottom right; }"
               "QSpinBox::up-button:hover, QSpinBox::down-button:hover { background-color: %2; }")
               .arg(css(Raised), css(RaisedHover));
}

} // namespace korvel
