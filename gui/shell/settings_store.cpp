#include "settings_store.h"

#include <QDebug>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString kSettingsFileName = QStringLiteral("setting.ini");

}  // namespace

QString settingsFilePath() {
    // The folder is named here rather than taken from the application's name, so that the same
    // settings are found however the program file is named.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/relettra/") + kSettingsFileName;
}

QString readSetting(const QString& key, const QString& defaultValue) {
    QSettings settings(settingsFilePath(), QSettings::IniFormat);
    return settings.value(key, defaultValue).toString();
}

void writeSetting(const QString& key, const QString& value) {
    QSettings settings(settingsFilePath(), QSettings::IniFormat);
    settings.setValue(key, value);
}

bool adoptWorkingDirectorySettings(const QString& workingDir) {
    const QString target = settingsFilePath();
    const QFileInfo old(workingDir + QLatin1Char('/') + kSettingsFileName);
    if (QFileInfo::exists(target) || !old.isFile() ||
        old.absoluteFilePath() == QFileInfo(target).absoluteFilePath()) {
        return false;
    }
    const QSettings from(old.absoluteFilePath(), QSettings::IniFormat);
    const QStringList keys = from.allKeys();
    if (keys.isEmpty()) {
        return false;
    }
    QSettings to(target, QSettings::IniFormat);
    for (const QString& key : keys) {
        to.setValue(key, from.value(key));
    }
    to.sync();
    if (to.status() != QSettings::NoError) {
        qWarning().noquote() << "The settings of" << old.absoluteFilePath()
                             << "could not be written to" << target;
        return false;
    }
    qDebug().noquote() << QStringLiteral("Settings taken over from \"%1\" into \"%2\"")
                              .arg(old.absoluteFilePath(), target);
    return true;
}
