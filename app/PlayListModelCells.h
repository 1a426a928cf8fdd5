#pragma once

#include "playback/PlayListCells.h"
#include "playlist/PlayListModel.h"

namespace korvel {

// The playlist window's list as the playback logic reads and writes it.
class PlayListModelCells : public PlayListCells {
public:
    explicit PlayListModelCells(PlayListModel& model) : m_model(model) {}

    int currentRow() const override { return m_model.currentRow(); }
    int rowCount() const override { return m_model.rowCount(); }
    QString cell(int column, int row) const override { return m_model.cell(column, row); }
    void setCell(int column, int row, const QString& text) override {
        m_model.setCell(column, row, text);
    }
    void selectRow(int row) override { m_model.selectRow(row); }

private:
    PlayListModel& m_model;
};

} // namespace korvel
