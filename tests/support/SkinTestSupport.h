#pragma once

#include "skin/SkinEngine.h"

#include <QByteArray>
#include <QStringList>

namespace korvel::test {

// Records what the engine asks of its window.
class FakeWindow : public SkinWindow {
public:
    void resizeTo(QSize size) override { sizes.append(size); }
    void setShape(const std::optional<QRegion>& region) override { shapes.push_back(region); }
    void showFace() override { ++faceShows; }
    QPalette palette() const override { return QPalette(); }

    QList<QSize> sizes;
    std::vector<std::optional<QRegion>> shapes;
    int faceShows = 0;
};

// A skin description in the built-in skins' form, using the built-in player images.
inline QByteArray describe(int version, const QStringList& hotAreas,
                           const QStringList& displays = {}, const QStringList& trackBars = {},
                           const QString& bitmapInfo = {}) {
    QString text = QStringLiteral("[VERSION]\r\nVer=%1\r\n[BITMAPINFO]\r\n").arg(version);
    text += bitmapInfo.isEmpty() ? QStringLiteral("MaskBitmap=PlayerMask.jpg\r\n"
                                                  "MouseUpBitmap=PlayerMain.jpg\r\n"
                                                  "MouseDownBitmap=PlayerSel.jpg\r\n"
                                                  "MouseOnBitmap=PlayerSel.jpg\r\n")
                                 : bitmapInfo;
    const auto section = [&text](const char* name, const QStringList& rows) {
        text += QStringLiteral("[%1]\r\nCount=%2\r\n").arg(name).arg(rows.size());
        for (int i = 0; i < rows.size(); ++i)
            text += QStringLiteral("%1=%2\r\n").arg(i + 1).arg(rows[i]);
    };
    section("HOTAREAINFO", hotAreas);
    section("DISPLAYINFO", displays);
    section("TRACKBARINFO", trackBars);
    return text.toUtf8();
}

} // namespace korvel::test
