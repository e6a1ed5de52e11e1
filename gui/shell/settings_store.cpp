#include "settings_store.h"

#include <QSettings>

namespace {

const QString kSettingsFile = QStringLiteral("setting.ini");

}  // namespace

QString readSetting(const QString& key, const QString& defaultValue) {
    QSettings settings(kSettingsFile, QSettings::IniFormat);
    return settings.value(key, defaultValue).toString();
}

void writeSetting(const QString& key, const QString& value) {
    QSettings settings(kSettingsFile, QSettings::IniFormat);
    settings.setValue(key, value);
}
