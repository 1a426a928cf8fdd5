// korvel_skinart: draws the built-in skins' pictures from their skin descriptions, writes
// them and checks what it wrote. Usage:
//   korvel_skinart [OUTDIR] [--skins DIR] [--preview DIR]
// OUTDIR defaults to the source tree's resources/, DIR of --skins (where Skin.ini and
// ListSkin.ini are read) too; --preview also writes PNG previews there. The program's icon,
// in the same style, goes into OUTDIR/icons/.

#include "base/KorvelError.h"
#include "tools/skinart/AppIcon.h"
#include "tools/skinart/Preview.h"
#include "tools/skinart/SelfCheck.h"
#include "tools/skinart/SkinArt.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdlib>

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
    parser.addOption(skins);
    parser.addOption(preview);
    parser.process(app);
    const QStringList positional = parser.positionalArguments();
    const QString outDir =
        positional.isEmpty() ? QStringLiteral(KORVEL_RESOURCES_DIR) : positional.first();
    QTextStream err(stderr);
    try {
        using namespace korvel::skinart;
        const SkinArtSet art = SkinArtSet::draw(parser.value(skins));
        checkDrawn(art);
        writePictures(art, outDir);
        checkWritten(art, outDir);
        writeAppIcons(outDir + QStringLiteral("/icons"));
        if (parser.isSet(preview)) writePreviews(art, outDir, parser.value(preview));
        err << "korvel_skinart: wrote and checked the skin pictures and icons in " << outDir
            << '\n';
        return EXIT_SUCCESS;
    } catch (const korvel::KorvelError& error) {
        err << "korvel_skinart: " << error.text() << '\n';
        return EXIT_FAILURE;
    }
}
