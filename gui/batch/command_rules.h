#pragma once

#include <QString>
#include <QStringList>

#include "batch_options.h"
#include "batch_types.h"

// The rules of the command line, read and checked before any file is touched.
struct CommandRules {
    FileRules rules;
    // One line for each rule that cannot be carried to the engine ("rules.txt:3: ..."); the job
    // does not start when there is any.
    QStringList problems;
};

// Reads the rule files and the --find/--replace pairs of the options: text rules by position in
// the order the engine applies them, image rules by position in file order, then the content
// rules. Empty lines of the files are left out. An image that cannot be read is a problem too
// (the engine would stop at it for every file).
CommandRules readCommandRules(const BatchOptions& options);
