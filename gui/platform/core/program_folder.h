#pragma once

#include <QString>

// The folder of the child programs (the engine, the page helper and the information helper):
// beside the running program when the engine is there (the build's run folder), else the
// private folder of an installed program, found from the running program's own folder, so that
// an installed tree that was moved elsewhere still finds them. When neither holds the engine, the
// running program's folder, so that an error names a place that was looked at.
QString childProgramFolder();

// The same for a program whose folder is `programDir` (for tests).
QString childProgramFolderFor(const QString& programDir);

// The user guide: beside the running program (the build's run folder), else in the documentation
// folder of an installed program, found from the running program's folder. When neither holds it,
// the path beside the program.
QString userGuideFile();
