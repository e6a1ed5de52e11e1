#pragma once

#include <QString>

// The small settings store "setting.ini" (INI format) in the user's configuration folder
// ($XDG_CONFIG_HOME/relettra, usually ~/.config/relettra), whatever folder the window was started
// from. Every call opens the file afresh and closes it again, so no settings object outlives one
// read or write.
namespace SettingsKeys {
inline const QString inputDir = QStringLiteral("dir/input");
inline const QString outputDir = QStringLiteral("dir/output");
inline const QString imageFileDir = QStringLiteral("dir/imagefile");
inline const QString pickerImageDir = QStringLiteral("dir/image");
inline const QString pickerFile = QStringLiteral("file/file");
inline const QString pickerPage = QStringLiteral("file/page");
// The picker's window size as it was last closed, "1400x900".
inline const QString pickerSize = QStringLiteral("picker/size");
// The main window as the user left it.
inline const QString windowGeometry = QStringLiteral("window/geometry");
inline const QString windowSplitter = QStringLiteral("window/splitter");
inline const QString outputFolder = QStringLiteral("window/outputFolder");
inline const QString positionsOrContentTab = QStringLiteral("window/tab");
inline const QString contentKindTab = QStringLiteral("window/contentTab");
}  // namespace SettingsKeys

// Full path of the settings file, taken from the environment each time it is asked.
QString settingsFilePath();

// Reads a key as text; the default when the key or the file is missing.
QString readSetting(const QString& key, const QString& defaultValue = QStringLiteral("."));

// Writes a key as text (the folder is made when missing); lost silently when it cannot be
// written.
void writeSetting(const QString& key, const QString& value);

// Earlier versions kept "setting.ini" in the working directory. When the configuration folder
// holds no settings yet and such a file exists in `workingDir`, its keys are copied over (the old
// file stays as it is); once the settings exist, the old file is never read again. Returns whether
// keys were taken over.
bool adoptWorkingDirectorySettings(const QString& workingDir);
