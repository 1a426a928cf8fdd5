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
    void LoadSkin(const QString& name) { LoadSkin(SkinSource(), name); }
    // Loads the description of this name and its images from `source`. A failure in a
    // folder's skin names the file it is in.
    void LoadSkin(const SkinSource& source, const QString& name);
    // Loads a skin description given as text; its images come from the model's source.
    void LoadDescription(const QByteArray& description);

    // Fills one image slot by the file name a skin gives, from the model's source.
    void LoadSkinImage(QImage& bitmap, const QString& fileName);
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
    void loadTrackBar(TrackBarInfoRec& trackBar, const SkinRow& fields);

    SkinModel& m_model;
    SkinLoaderHost& m_host;
    // Set while a picture is read: its failure names the picture's file already.
    bool m_readingImage = false;
};

} // namespace korvel
