#pragma once

#include "base/TimeText.h"
#include "playback/PlayListCells.h"
#include "playback/PlaybackHost.h"

#include <QList>
#include <QSize>
#include <QStringList>

#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace korvel::test {

// A time text as the program writes it under the locale the tests run in: each ":" written
// here stands for that locale's separator ("." in Finnish and Danish).
inline QString localTime(const char* text) {
    return QString::fromLatin1(text).replace(u':', TimeText::separator());
}

// A list of eight text columns: header row 0, entries, and the blank end row.
class FakeList : public PlayListCells {
public:
    explicit FakeList(int entries = 0) : rows(entries + 2, QStringList(8)) {}
    int currentRow() const override { return current; }
    int rowCount() const override { return int(rows.size()); }
    QString cell(int column, int row) const override { return rows.at(row).at(column); }
    void setCell(int column, int row, const QString& text) override { rows[row][column] = text; }
    void selectRow(int row) override {
        selections.append(row);
        current = row;
    }
    void whenChanged(std::function<void()> changed) override { onChange = std::move(changed); }

    void setEntry(int row, const QString& play, const QString& count, const QString& start,
                  const QString& end, const QString& path) {
        rows[row] = QStringList{QString::number(row), play, "Default", count, "", start, end, path};
    }

    // Entries of the given Play flags ("On", "Off", ...), each with Count 1 and a location
    // named after its row.
    static FakeList withFlags(const QStringList& flags) {
        FakeList list(int(flags.size()));
        for (int row = 1; row <= flags.size(); ++row) {
            list.setEntry(row, flags[row - 1], "1", "", "",
                          QStringLiteral("/clips/%1.mpg").arg(row));
        }
        return list;
    }

    std::vector<QStringList> rows;
    int current = 0;
    QList<int> selections;
    std::function<void()> onChange;
};

class FakeHost : public PlaybackHost {
public:
    QString caption() const override { return m_caption; }
    void setCaption(const QString& caption) override { m_caption = caption; }
    void setClientSize(int width, int height) override { sizes.append(QSize(width, height)); }
    void letEventsRun() override {
        ++eventRuns;
        if (nested) std::exchange(nested, {})();
    }
    void runLater(int ms, std::function<void()> step) override {
        delays.append(ms);
        later.push_back(std::move(step));
    }
    void bringPanelForward() override { ++panelForward; }
    void setTopmost(bool on) override { topmost.append(on); }

    // Runs the steps that came due, in order.
    void runDue() {
        while (!later.empty()) {
            auto step = std::move(later.front());
            later.pop_front();
            step();
        }
    }

    QString m_caption = "Korvel mark2";
    QList<QSize> sizes;
    int eventRuns = 0;
    std::function<void()> nested; // run once at the next point where events may run
    QList<int> delays;
    std::deque<std::function<void()>> later;
    int panelForward = 0;
    QList<bool> topmost;
};

} // namespace korvel::test
