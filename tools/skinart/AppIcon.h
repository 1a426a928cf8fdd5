#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <array>

namespace korvel::skinart {

// The program's icon on the desktop, in the panel's style: a graphite key holding a recessed
// display with the accent ring and play mark of the panel's logo. Drawn on a 256-unit square.
inline constexpr std::array<int, 6> AppIconSizes{16, 32, 48, 64, 128, 256};

// The icon as a square image of `pixels` on a transparent ground.
QImage paintAppIcon(int pixels);

// The same drawing as scalable SVG text.
QByteArray appIconSvg();

// Writes korvel.svg and korvel-<size>.png for every size into `iconDir` (made if missing),
// then reads them back: each PNG equal to what was drawn, with transparent corners and the
// accent ring lit, the SVG well-formed with the drawing's view box. Raises KorvelError
// listing every failure.
void writeAppIcons(const QString& iconDir);

} // namespace korvel::skinart
