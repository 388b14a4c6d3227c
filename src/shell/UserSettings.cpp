#include "shell/UserSettings.h"

#include <QSettings>
#include <QStandardPaths>

namespace {
const QString VerifyKey = QStringLiteral("compare/verifyAfterTransmit");
const QString TimingRpmKey = QStringLiteral("timing/rpm");
constexpr int TimingRpmDefault = 600;

// Writes one value at once; false when the file could not be written.
bool writeValue(const QString& path, const QString& key, const QVariant& value) {
    if (path.isEmpty())
        return true;
    QSettings file(path, QSettings::IniFormat);
    file.setValue(key, value);
    file.sync();
    return file.status() == QSettings::NoError;
}

QString NetworkKey(int n) {
    return QStringLiteral("network/COM") + QString::number(n);
}
} // namespace

void UserSettings::Load(const QString& path) {
    path_ = path;
    const QSettings file(path, QSettings::IniFormat);
    verifyAfterTransmit_ = file.value(VerifyKey, false).toBool();
    // A hand-edited file may hold any text: a speed outside 1..20000 is not taken.
    bool ok = false;
    const int rpm = file.value(TimingRpmKey, TimingRpmDefault).toInt(&ok);
    timingRpm_ = ok && rpm >= 1 && rpm <= 20000 ? rpm : TimingRpmDefault;
    networkPorts_.clear();
    for (int n = PortMap::FirstNetworkPort; n <= PortMap::LastPort; ++n) {
        const QString address = file.value(NetworkKey(n)).toString().trimmed();
        if (!address.isEmpty())
            networkPorts_.insert(n, address);
    }
}

bool UserSettings::SetNetworkPort(int n, const QString& address) {
    if (address.trimmed().isEmpty())
        networkPorts_.remove(n);
    else
        networkPorts_.insert(n, address.trimmed());
    if (path_.isEmpty())
        return true;
    QSettings file(path_, QSettings::IniFormat);
    if (address.trimmed().isEmpty())
        file.remove(NetworkKey(n));
    else
        file.setValue(NetworkKey(n), address.trimmed());
    file.sync();
    return file.status() == QSettings::NoError;
}

bool UserSettings::SetVerifyAfterTransmit(bool on) {
    verifyAfterTransmit_ = on;
    return writeValue(path_, VerifyKey, on);
}

bool UserSettings::SetTimingRpm(int rpm) {
    timingRpm_ = rpm;
    return writeValue(path_, TimingRpmKey, rpm);
}

QString UserSettings::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/q517.ini");
}
