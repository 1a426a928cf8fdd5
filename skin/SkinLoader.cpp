#include "skin/SkinLoader.h"

#include "base/FixedTexts.h"
#include "base/IniFile.h"
#include "base/KorvelError.h"
#include "skin/SkinRow.h"

#include <map>

namespace korvel {

namespace {

const QString BitmapInfo = QStringLiteral("BITMAPINFO");
const QString HotAreaInfo = QStringLiteral("HOTAREAINFO");
const QString DisplayInfo = QStringLiteral("DISPLAYINFO");
const QString TrackBarInfo = QStringLiteral("TRACKBARINFO");

// More rows than any face has room for: a skin from the user's disk that asks for two thousand
// million elements would have the tables take all memory before a row is read.
constexpr std::int32_t MaxRows = 1024;

std::int32_t readCount(const IniFile& ini, const QString& section) {
    const std::int32_t count = ini.readInteger(section, u"Count", 0);
    if (count < 0 || count > MaxRows) throw KorvelError(FixedTexts::RangeCheck);
    return count;
}

QString rowKey(int n) { return QString::number(n); }

} // namespace

void SkinLoader::LoadSkin(const SkinSource& source, const QString& name) {
    m_model.UseMouseOnBitmap = true;
    m_model.Source = source;
    // The description is read from memory: the program's folder may well be read-only.
    const QByteArray description = source.description(name);
    if (source.isBuiltIn()) {
        LoadDescription(description);
        return;
    }
    try {
        LoadDescription(description);
    } catch (const KorvelError& error) {
        if (m_readingImage) throw;
        throw KorvelError(FixedTexts::SkinFileUnusable.arg(
            source.filePath(name + QStringLiteral(".ini")), error.text()));
    }
}

void SkinLoader::LoadDescription(const QByteArray& description) {
    m_model.UseMouseOnBitmap = true;
    const IniFile ini(description);
    m_model.SkinVersion = ini.readInteger(u"Version", u"Ver", 140);
    const ImageNames names = readImageNames(ini);
    m_model.UseMouseOnBitmap = names.on != names.down;
    const std::int32_t hotAreaCount = readCount(ini, HotAreaInfo);
    m_model.HotAreas.assign(std::size_t(hotAreaCount), HotAreaInfoRec{});
    loadLooks(names);
    m_host.ApplyShape();
    if (!names.numbers.isEmpty()) LoadSkinImage(m_model.NumbersBitmap, names.numbers);
    if (!names.text.isEmpty()) LoadSkinImage(m_model.TextBitmap, names.text);
    loadHotAreas(ini, hotAreaCount);
    loadDisplays(ini);
    loadTrackBars(ini);
    m_model.ActiveTrackBar = -1;
    m_host.PaintFace();
}

SkinLoader::ImageNames SkinLoader::readImageNames(const IniFile& ini) const {
    ImageNames names;
    names.mask = ini.readString(BitmapInfo, u"MaskBitmap", QStringLiteral("ERROR"));
    names.up = ini.readString(BitmapInfo, u"MouseUpBitmap", names.mask);
    names.down = ini.readString(BitmapInfo, u"MouseDownBitmap", names.up);
    names.on = ini.readString(BitmapInfo, u"MouseOnBitmap", names.down);
    names.numbers = ini.readString(BitmapInfo, u"NumbersBitmap", QString());
    names.text = ini.readString(BitmapInfo, u"TextBitmap", QString());
    return names;
}

void SkinLoader::loadLooks(const ImageNames& names) {
    m_model.MaskName = names.mask;
    LoadSkinImage(m_model.MaskBitmap, names.mask);
    m_model.MouseUpName = names.up;
    m_model.MouseOnName = names.on;
    m_model.MouseDownName = names.down;
    m_model.MouseUpBitmap = m_model.MouseOnBitmap = m_model.MouseDownBitmap = QImage();
    if (m_host.wantsLooks()) readLooks();
}

// A picture named for two looks (the look under the pointer is often the pressed one) is
// read once, and the looks share its pixels: they are only ever read.
void SkinLoader::readLooks() {
    std::map<QString, QImage> read;
    const auto look = [&](const QString& name) {
        const auto [found, fresh] = read.try_emplace(name);
        if (fresh) LoadSkinImage(found->second, name);
        return found->second;
    };
    m_model.MouseUpBitmap = look(m_model.MouseUpName);
    m_model.MouseOnBitmap = look(m_model.MouseOnName);
    m_model.MouseDownBitmap = look(m_model.MouseDownName);
}

void SkinLoader::LoadSkinImage(QImage& bitmap, const QString& fileName) {
    m_readingImage = true;
    bitmap = m_model.Source.image(fileName);
    m_readingImage = false;
}

void SkinLoader::loadHotAreas(const IniFile& ini, std::int32_t count) {
    for (int n = 1; n <= count; ++n) {
        loadHotArea(n - 1, SkinRow(ini.readString(HotAreaInfo, rowKey(n),
                                                  QStringLiteral("NOT_DEFINED, 0, 0, 0, 0"))));
    }
}

void SkinLoader::loadHotArea(int index, const SkinRow& fields) {
    HotAreaInfoRec& area = m_model.HotAreas[std::size_t(index)];
    area.ID = fields.text(0);
    area.Left = fields.integer(1);
    area.Top = fields.integer(2);
    area.Width = fields.integer(3);
    area.Height = fields.integer(4);
    area.IsToggle = false;
    area.RadioGroup.clear();
    area.Pressed = false;
    area.Hint.clear();
    // The state field follows the hint in version 150; version 140 has no hint.
    qsizetype statePosition = 0;
    if (m_model.SkinVersion == 150) {
        statePosition = 7;
        area.Hint = fields.text(5);
    } else if (m_model.SkinVersion == 140) {
        statePosition = 6;
    } else {
        throw SkinRow::indexError(-1);
    }
    if (fields.count() >= statePosition) {
        area.IsToggle = true;
        area.Down = fields.text(statePosition - 1) != u"FALSE";
    }
    if (fields.count() == statePosition + 1) joinGroup(index, area, fields.text(statePosition));
}

void SkinLoader::joinGroup(int index, HotAreaInfoRec& area, const QString& group) {
    int g = m_model.findGroup(group);
    if (g < 0) {
        m_model.GroupNames.append(group);
        m_model.GroupDown.append(QStringLiteral("-1"));
        g = int(m_model.GroupNames.size()) - 1;
    }
    area.RadioGroup = group;
    if (area.Down) m_model.GroupDown[g] = QString::number(index);
    area.IsToggle = true;
}

void SkinLoader::loadDisplays(const IniFile& ini) {
    const std::int32_t count = readCount(ini, DisplayInfo);
    m_model.DisplayCharset = std::uint8_t(ini.readInteger(DisplayInfo, u"Charset", 1) & 0xFF);
    m_model.Displays.resize(std::size_t(count));
    for (int n = 1; n <= count; ++n) {
        const QString row =
            ini.readString(DisplayInfo, rowKey(n),
                           QStringLiteral("NOT_DEFINED, Arial, FALSE, FALSE, 0, $000000, 0, 0"));
        loadDisplay(m_model.Displays[std::size_t(n - 1)], SkinRow(row));
    }
}

void SkinLoader::loadDisplay(DisplayInfoRec& display, const SkinRow& fields) const {
    display.ID = fields.text(0);
    DisplayFont font;
    font.Charset = m_model.DisplayCharset;
    font.FaceName = fields.text(1);
    font.Bold = fields.text(2) == u"TRUE";
    font.Italic = fields.text(3) == u"TRUE";
    font.Size = fields.integer(4);
    font.Color = std::uint32_t(fields.integer(5));
    display.Font = font;
    display.Left = fields.integer(6);
    display.Top = fields.integer(7);
    if (fields.count() >= 9) display.Mode = fields.text(8);
    display.Text = fields.count() == 10 ? fields.text(9) : QString();
}

void SkinLoader::loadTrackBars(const IniFile& ini) {
    const std::int32_t count = readCount(ini, TrackBarInfo);
    m_model.TrackBars.resize(std::size_t(count));
    for (int n = 1; n <= count; ++n) {
        const QString row =
            ini.readString(TrackBarInfo, rowKey(n),
                           QStringLiteral("NOT_DEFINED, NOT_DEFINED, NOT_DEFINED, 0, 0, 0, H"));
        loadTrackBar(m_model.TrackBars[std::size_t(n - 1)], SkinRow(row));
    }
}

void SkinLoader::loadTrackBar(TrackBarInfoRec& trackBar, const SkinRow& fields) {
    trackBar.ID = fields.text(0);
    LoadSkinImage(trackBar.ThumbImage, fields.text(1));
    LoadSkinImage(trackBar.ActiveThumbImage, fields.text(2));
    trackBar.ThumbWidth = trackBar.ActiveThumbImage.width();
    trackBar.ThumbHeight = trackBar.ActiveThumbImage.height();
    trackBar.Left = fields.integer(3);
    trackBar.Top = fields.integer(4);
    trackBar.Length = fields.integer(5);
    trackBar.MinPosition = 0;
    trackBar.MaxPosition = 100;
    trackBar.Horizontal = fields.text(6) != u"V";
    trackBar.Position = fields.count() >= 8 ? std::uint8_t(fields.integer(7) & 0xFF) : 0;
    trackBar.Hint = fields.count() >= 9 ? fields.text(8) : QString();
    PlaceThumb(trackBar);
}

} // namespace korvel
