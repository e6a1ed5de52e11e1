// The rule picker as the main window uses it: made once, opened by "Settings" on the first listed
// file, its saved rules taken back into the position tables.
#include "process.h"

// What this part of the window builds on.
#include <QDebug>

void Process::createPicker() {}

void Process::enteroption() {
    qDebug("Settings: the rule picker is not available yet.");
}
