// korvel_skinart: draws the built-in skins' pictures from their skin descriptions, writes
// them and checks what it wrote. Usage:
//   korvel_skinart [OUTDIR] [--skins DIR] [--preview DIR] [--player-face WxH]
//                  [--list-face WxH] [--accent #RRGGBB] [--skin-only]
// OUTDIR defaults to the source tree's resources/, DIR of --skins (where Skin.ini and
// ListSkin.ini are read) too; --preview also writes PNG previews there. The program's icon,
// in the same style, goes into OUTDIR/icons/, unless --skin-only. The faces are drawn at the
// built-in skins' sizes and in their accent unless another skin asks for its own.

#include "base/KorvelError.h"
#include "skin/ListSkinElements.h"
#include "skin/PlayerSkinElements.h"
#include "tools/skinart/AppIcon.h"
#include "tools/skinart/ArtStyle.h"
#include "tools/skinart/Preview.h"
#include "tools/skinart/SelfCheck.h"
#include "tools/skinart/SkinArt.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdlib>

namespace {

// "353x116"; the default when the option is not given, a KorvelError when it is no size.
QSize faceSize(const QCommandLineParser& parser, const QCommandLineOption& option, QSize fallback) {
    if (!parser.isSet(option)) return fallback;
    const QStringList parts = parser.value(option).split(u'x');
    bool wide = false;
    bool high = false;
    const QSize size =
        parts.size() == 2 ? QSize(parts[0].toInt(&wide), parts[1].toInt(&high)) : QSize();
    if (!wide || !high || size.isEmpty())
        throw korvel::KorvelError(QStringLiteral("not a size: ") + parser.value(option));
    return size;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the built-in skins' pictures."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("outdir"), QStringLiteral("Output folder."));
    const QCommandLineOption skins(QStringLiteral("skins"),
                                   QStringLiteral("Folder of Skin.ini and ListSkin.ini."),
                                   QStringLiteral("dir"), QStringLiteral(KORVEL_RESOURCES_DIR));
    const QCommandLineOption preview(QStringLiteral("preview"),
                                     QStringLiteral("Also write PNG previews here."),
                                     QStringLiteral("dir"));
    const QCommandLineOption playerFace(QStringLiteral("player-face"),
                                        QStringLiteral("Size of the player skin's face."),
                                        QStringLiteral("WxH"));
    const QCommandLineOption listFace(QStringLiteral("list-face"),
                                      QStringLiteral("Size of the list skin's face."),
                                      QStringLiteral("WxH"));
    const QCommandLineOption accent(QStringLiteral("accent"),
                                    QStringLiteral("Accent colour of the faces."),
                                    QStringLiteral("#RRGGBB"));
    const QCommandLineOption skinOnly(QStringLiteral("skin-only"),
                                      QStringLiteral("Draw the skin alone, not the icons."));
    parser.addOption(skins);
    parser.addOption(preview);
    parser.addOption(playerFace);
    parser.addOption(listFace);
    parser.addOption(accent);
    parser.addOption(skinOnly);
    parser.process(app);
    const QStringList positional = parser.positionalArguments();
    const QString outDir =
        positional.isEmpty() ? QStringLiteral(KORVEL_RESOURCES_DIR) : positional.first();
    QTextStream err(stderr);
    try {
        using namespace korvel::skinart;
        if (parser.isSet(accent)) {
            const QColor colour = QColor::fromString(parser.value(accent));
            if (!colour.isValid())
                throw korvel::KorvelError(QStringLiteral("not a colour: ") + parser.value(accent));
            style::setAccent(colour);
        }
        const SkinArtSet art = SkinArtSet::draw(
            parser.value(skins), faceSize(parser, playerFace, korvel::PlayerSkin::FaceSize),
            faceSize(parser, listFace, korvel::ListSkin::FaceSize));
        checkDrawn(art);
        writePictures(art, outDir);
        checkWritten(art, outDir);
        if (!parser.isSet(skinOnly)) writeAppIcons(outDir + QStringLiteral("/icons"));
        if (parser.isSet(preview)) writePreviews(art, outDir, parser.value(preview));
        err << "korvel_skinart: wrote and checked the skin pictures and icons in " << outDir
            << '\n';
        return EXIT_SUCCESS;
    } catch (const korvel::KorvelError& error) {
        err << "korvel_skinart: " << error.text() << '\n';
        return EXIT_FAILURE;
    }
}
