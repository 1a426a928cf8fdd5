#include "mpris/MprisProperties.h"

#include "mpris/MprisService.h"

namespace korvel {

MprisProperties::MprisProperties(MprisService* service)
    : QDBusAbstractAdaptor(service), m_service(service) {
    // The service announces changes itself.
    setAutoRelaySignals(false);
}

QDBusVariant MprisProperties::Get(const QString& interface_name, const QString& property_name) {
    return QDBusVariant(m_service->readProperty(interface_name, property_name));
}

QVariantMap MprisProperties::GetAll(const QString& interface_name) {
    return m_service->readAllProperties(interface_name);
}

void MprisProperties::Set(const QString& interface_name, const QString& property_name,
                          const QDBusVariant& value) {
    m_service->writeProperty(interface_name, property_name, value.variant());
}

} // namespace korvel
