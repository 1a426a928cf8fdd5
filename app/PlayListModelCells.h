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
    void whenChanged(std::function<void()> changed) override {
        for (const QMetaObject::Connection& connection : m_told) QObject::disconnect(connection);
        m_told.clear();
        if (!changed) return;
        m_told << QObject::connect(&m_model, &PlayListModel::cellChanged, &m_model, changed)
               << QObject::connect(&m_model, &PlayListModel::rowCountChanged, &m_model, changed)
               << QObject::connect(&m_model, &PlayListModel::cursorChanged, &m_model, changed);
    }

private:
    PlayListModel& m_model;
    QList<QMetaObject::Connection> m_told;
};

} // namespace korvel
