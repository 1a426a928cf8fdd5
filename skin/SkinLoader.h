#pragma once

#include "skin/SkinModel.h"

#include <QString>
#include <QStringList>

namespace korvel {

class IniFile;
class SkinRow;

// What the loader asks of the component it loads into, at the fixed points of a load.
class SkinLoaderHost {
public:
    virtual ~SkinLoaderHost() = default;
    // The mask and the look images are in place: size and shape the window to the mask.
    virtual void ApplyShape() = 0;
    // The tables are complete: compose the whole face.
    virtual void PaintFace() = 0;
    // Whether the looks are wanted now: a window nobody sees has them read when it is shown.
    virtual bool wantsLooks() const = 0;
};

// Loads a built-in skin into a model. The first failure raises a KorvelError and ends the
// load; what was loaded up to that point stays in the model.
class SkinLoader {
public:
    SkinLoader(SkinModel& model, SkinLoaderHost& host) : m_model(model), m_host(host) {}

    // Loads the built-in skin description of this name and the images it names.
    void LoadSkin(const QString& name);
    // Loads a skin description given as text; its images are the built-in ones.
    void LoadDescription(const QByteArray& description);

    // Fills one image slot from the built-in images by the file name a skin gives.
    static void LoadSkinImage(QImage& bitmap, const QString& fileName);
    // Reads the three looks again from the pictures the skin named for them.
    void readLooks();

private:
    struct ImageNames {
        QString mask, up, down, on, numbers, text;
    };

    ImageNames readImageNames(const IniFile& ini) const;
    void loadLooks(const ImageNames& names);
    void loadHotAreas(const IniFile& ini, std::int32_t count);
    void loadHotArea(int index, const SkinRow& fields);
    void joinGroup(int index, HotAreaInfoRec& area, const QString& group);
    void loadDisplays(const IniFile& ini);
    void loadDisplay(DisplayInfoRec& display, const SkinRow& fields) const;
    void loadTrackBars(const IniFile& ini);
    static void loadTrackBar(TrackBarInfoRec& trackBar, const SkinRow& fields);

    SkinModel& m_model;
    SkinLoaderHost& m_host;
};

} // namespace korvel
