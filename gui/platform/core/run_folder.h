#pragma once

#include <QString>

// The private folder of this run of the front end: rule files and page renders go here, under
// their fixed names. It is made on first use below the user's temporary location, with rights
// for the owner only, so that no other user's file is taken for ours and no planted link is
// written through; it is removed with everything in it when the program ends.
// Empty when it cannot be made.
QString runFolderPath();

// runFolderPath() + "/" + fileName; empty when there is no run folder.
QString runFolderFile(const QString& fileName);
