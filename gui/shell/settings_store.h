#pragma once

#include <QString>

// The small settings store "setting.ini" (INI format) in the working directory. Every call opens
// the file afresh and closes it again, so no settings object outlives one read or write.
namespace SettingsKeys {
inline const QString inputDir = QStringLiteral("dir/input");
inline const QString outputDir = QStringLiteral("dir/output");
inline const QString imageFileDir = QStringLiteral("dir/imagefile");
inline const QString pickerImageDir = QStringLiteral("dir/image");
inline const QString pickerFile = QStringLiteral("file/file");
inline const QString pickerPage = QStringLiteral("file/page");
// The main window as the user left it.
inline const QString windowGeometry = QStringLiteral("window/geometry");
inline const QString windowSplitter = QStringLiteral("window/splitter");
inline const QString outputFolder = QStringLiteral("window/outputFolder");
inline const QString positionsOrContentTab = QStringLiteral("window/tab");
inline const QString contentKindTab = QStringLiteral("window/contentTab");
}  // namespace SettingsKeys

// Reads a key as text; the default when the key or the file is missing.
QString readSetting(const QString& key, const QString& defaultValue = QStringLiteral("."));

// Writes a key as text; lost silently when the working directory is not writable.
void writeSetting(const QString& key, const QString& value);
