#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusVariant>
#include <QVariantMap>

namespace korvel {

class MprisService;

// The properties of the player's interfaces as the bus reads and sets them. The library's own
// handling answers every set as done, even one the player refuses (a volume that is no
// number); here the service decides, and a refused value is the caller's error.
class MprisProperties : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.DBus.Properties")
    // The library describes the standard interface itself; told twice it would be listed twice.
    Q_CLASSINFO("D-Bus Introspection", "  <!-- org.freedesktop.DBus.Properties: below -->\n")

public:
    explicit MprisProperties(MprisService* service);

public slots:
    QDBusVariant Get(const QString& interface_name, const QString& property_name);
    QVariantMap GetAll(const QString& interface_name);
    void Set(const QString& interface_name, const QString& property_name,
             const QDBusVariant& value);

private:
    MprisService* m_service;
};

} // namespace korvel
