#include "tools/skinart/SkinLayout.h"

#include "base/IniFile.h"
#include "base/IntegerText.h"
#include "base/KorvelError.h"
#include "base/SplitFields.h"

#include <QFile>
#include <QStringList>

#include <algorithm>

namespace korvel::skinart {

namespace {

QStringList rowFields(const IniFile& ini, const QString& section, int row, qsizetype needed) {
    const QString key = QString::number(row);
    if (!ini.hasKey(section, key))
        throw KorvelError(QStringLiteral("[%1] has no row %2").arg(section, key));
    const QStringList fields = SplitFields(ini.readString(section, key, QString()), u',');
    if (fields.size() < needed)
        throw KorvelError(QStringLiteral("[%1] row %2 has %3 fields, %4 needed")
                              .arg(section, key)
                              .arg(fields.size())
                              .arg(needed));
    return fields;
}

int count(const IniFile& ini, const QString& section) {
    const int n = ini.readInteger(section, u"Count", 0);
    if (n < 0) throw KorvelError(QStringLiteral("[%1] has a negative Count").arg(section));
    return n;
}

template <typename T>
const T& findById(const std::vector<T>& items, QStringView id) {
    const auto it =
        std::find_if(items.begin(), items.end(), [id](const T& item) { return item.id == id; });
    if (it == items.end()) throw KorvelError(QStringLiteral("the skin has no element %1").arg(id));
    return *it;
}

} // namespace

SkinLayout SkinLayout::read(const QString& iniPath, QSize faceSize) {
    QFile file(iniPath);
    if (!file.open(QIODevice::ReadOnly))
        throw KorvelError(QStringLiteral("cannot read %1: %2").arg(iniPath, file.errorString()));
    const IniFile ini(file.readAll());
    const bool withHint = ini.readInteger(u"Version", u"Ver", 140) == 150;
    const qsizetype statePos = withHint ? 7 : 6; // 1-based field position of the state

    SkinLayout layout;
    layout.m_faceSize = faceSize;
    const QString hot = QStringLiteral("HOTAREAINFO");
    for (int n = 1, end = count(ini, hot); n <= end; ++n) {
        const QStringList f = rowFields(ini, hot, n, statePos - 1);
        const QRect rect(IntegerText::toInt(f[1]), IntegerText::toInt(f[2]),
                         IntegerText::toInt(f[3]), IntegerText::toInt(f[4]));
        layout.m_hotAreas.push_back({f[0], rect, f.size() >= statePos});
    }
    const QString disp = QStringLiteral("DISPLAYINFO");
    for (int n = 1, end = count(ini, disp); n <= end; ++n) {
        const QStringList f = rowFields(ini, disp, n, 8);
        const QPoint origin(IntegerText::toInt(f[6]), IntegerText::toInt(f[7]));
        const auto bgr = static_cast<std::uint32_t>(IntegerText::toInt(f[5]));
        const QColor colour(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                            static_cast<int>((bgr >> 16) & 0xFF));
        layout.m_displays.push_back(
            {f[0], f[1], origin, IntegerText::toInt(f[4]), f[2] == u"TRUE", colour});
    }
    const QString bars = QStringLiteral("TRACKBARINFO");
    for (int n = 1, end = count(ini, bars); n <= end; ++n) {
        const QStringList f = rowFields(ini, bars, n, 7);
        const int position = f.size() >= 8 ? IntegerText::toInt(f[7]) : 0;
        layout.m_tracks.push_back({f[0], IntegerText::toInt(f[3]), IntegerText::toInt(f[4]),
                                   IntegerText::toInt(f[5]), f[6] != u"V", position});
    }
    return layout;
}

const HotArea& SkinLayout::hotArea(QStringView id) const { return findById(m_hotAreas, id); }
const Display& SkinLayout::display(QStringView id) const { return findById(m_displays, id); }
const Track& SkinLayout::track(QStringView id) const { return findById(m_tracks, id); }

} // namespace korvel::skinart
