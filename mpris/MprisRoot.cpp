#include "mpris/MprisRoot.h"

#include "mpris/MprisService.h"
#include "mpris/MprisValues.h"

namespace korvel {

MprisRoot::MprisRoot(MprisService* service) : QDBusAbstractAdaptor(service), m_service(service) {
    // Nothing here changes while the player runs.
    setAutoRelaySignals(false);
}

QStringList MprisRoot::supportedUriSchemes() const { return MprisValues::uriSchemes(); }

QStringList MprisRoot::supportedMimeTypes() const { return MprisValues::mimeTypes(); }

void MprisRoot::Raise() { m_service->raise(); }

void MprisRoot::Quit() { m_service->quit(); }

} // namespace korvel
