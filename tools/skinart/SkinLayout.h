#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringView>

#include <vector>

namespace korvel::skinart {

struct HotArea {
    QString id;
    QRect rect; // left and top included, right and bottom excluded
    bool toggle = false;
};

struct Display {
    QString id;
    QString fontFace;
    QPoint origin; // top-left corner of the text line
    int pointSize = 0;
    bool bold = false;
    QColor colour;
};

struct Track {
    QString id;
    int left = 0;
    int top = 0;
    int length = 0;
    bool horizontal = true;
    int position = 0; // initial, 0..100
};

// The element rectangles of one skin description, read the way the skin loader reads them,
// so the pictures are drawn where the running program looks for their elements.
class SkinLayout {
public:
    // Reads a skin description file; a missing file or a malformed row raises KorvelError.
    static SkinLayout read(const QString& iniPath, QSize faceSize);

    QSize faceSize() const { return m_faceSize; }
    QRect faceRect() const { return QRect(QPoint(0, 0), m_faceSize); }
    const std::vector<HotArea>& hotAreas() const { return m_hotAreas; }
    const std::vector<Display>& displays() const { return m_displays; }
    const std::vector<Track>& tracks() const { return m_tracks; }

    // The element of that name; raises KorvelError when the skin has none, so art that
    // relies on an element cannot silently lose it.
    const HotArea& hotArea(QStringView id) const;
    const Display& display(QStringView id) const;
    const Track& track(QStringView id) const;

private:
    QSize m_faceSize;
    std::vector<HotArea> m_hotAreas;
    std::vector<Display> m_displays;
    std::vector<Track> m_tracks;
};

} // namespace korvel::skinart
