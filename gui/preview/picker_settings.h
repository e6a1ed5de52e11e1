#pragma once

#include <QString>

// What the rule picker reads from and writes to the program's settings store: the file and page
// count the main window chose for it, and the folder in which the picture chooser opens. The
// shell, which owns the store, provides it.
class PickerSettings {
  public:
    virtual ~PickerSettings() = default;

    // The file to show; "Empty input" when the main window's list is empty.
    virtual QString pickerFile() const = 0;
    // Its page count as text; "0" when the list is empty.
    virtual QString pickerPageCount() const = 0;
    virtual QString pictureFolder() const = 0;
    virtual void setPictureFolder(const QString& folder) = 0;
};
