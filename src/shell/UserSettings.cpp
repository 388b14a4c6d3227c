#include "shell/UserSettings.h"

#include <QSettings>
#include <QStandardPaths>

namespace {
const QString VerifyKey = QStringLiteral("compare/verifyAfterTransmit");
}

void UserSettings::Load(const QString& path) {
    path_ = path;
    const QSettings file(path, QSettings::IniFormat);
    verifyAfterTransmit_ = file.value(VerifyKey, false).toBool();
}

bool UserSettings::SetVerifyAfterTransmit(bool on) {
    verifyAfterTransmit_ = on;
    if (path_.isEmpty())
        return true;
    QSettings file(path_, QSettings::IniFormat);
    file.setValue(VerifyKey, on);
    file.sync();
    return file.status() == QSettings::NoError;
}

QString UserSettings::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/q517.ini");
}
