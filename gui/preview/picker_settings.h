#pragma once

#include <QSize>
#include <QString>

// What PickerSettings::pickerFile() gives while the main window's list is empty.
inline constexpr const char* kNoPickerFile = "Empty input";

// What the rule picker reads from and writes to the program's settings store: the file and page
// count the main window chose for it, the folder in which the picture chooser opens, and the
// window's size from one start of the program to the next. The shell, which owns the store,
// provides it.
class PickerSettings {
  public:
    virtual ~PickerSettings() = default;

    // The file to show; "Empty input" when the main window's list is empty.
    virtual QString pickerFile() const = 0;
    // Its page count as text; "0" when the list is empty.
    virtual QString pickerPageCount() const = 0;
    virtual QString pictureFolder() const = 0;
    virtual void setPictureFolder(const QString& folder) = 0;
    // The size the window had when it was last closed; invalid when none was kept.
    virtual QSize pickerSize() const = 0;
    virtual void setPickerSize(const QSize& size) = 0;
};
