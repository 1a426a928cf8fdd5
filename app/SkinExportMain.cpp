// `korvel --export-skins DIR`: the built-in skins written into DIR by the GUI library, which
// holds them, in the launcher's process. No window is shown, and no running player is asked.

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "base/PathBytes.h"
#include "skin/SkinExport.h"
#include "ui/ErrorBox.h"
#include "ui/UserLanguage.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

extern "C" __attribute__((visibility("default"))) int korvel_export_skins(const char* folder) {
    using namespace korvel;
    int argc = 1;
    char name[] = "korvel";
    char* argv[] = {name, nullptr};
    // The messages are in the user's language, as the player's own.
    const QCoreApplication application(argc, argv);
    const UserLanguage language;
    const QString path = QDir::toNativeSeparators(PathBytes::toText(folder));
    try {
        SkinExport::write(path);
    } catch (const KorvelError& error) {
        std::fprintf(stderr, "korvel: %s\n", qUtf8Printable(ErrorBox::withFullStop(error.text())));
        return 1;
    }
    std::printf("korvel: %s\n",
                qUtf8Printable(ErrorBox::withFullStop(FixedTexts::SkinsExported.arg(path))));
    return 0;
}
