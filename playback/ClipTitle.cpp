#include "playback/ClipTitle.h"

#include "base/PathBytes.h"
#include "engine/MediaControl.h"

#include <QUrl>

namespace korvel {

QString ClipTitle::of(const MediaControl& control) {
    const QString title = control.QueryTitle();
    return title.isEmpty() ? fileNameOf(control.QuerySource()) : title;
}

// A scheme has at least two letters: "C:" begins a path, not an address.
QString ClipTitle::fileNameOf(const QString& location) {
    const qsizetype colon = location.indexOf(u':');
    if (colon > 1 && location.mid(colon, 3) == u"://") {
        const QUrl url(location);
        if (url.isLocalFile())
            return PathBytes::displayed(PathBytes::fromFileUrl(url).section(u'/', -1));
        const QString name = url.fileName();
        return name.isEmpty() ? location : name;
    }
    return PathBytes::displayed(location.section(u'/', -1));
}

} // namespace korvel
