#pragma once

#include <QString>

#include "rule_kind.h"

// What an engine run's end says about its file, from the engine's documented exit codes: empty
// when the run ended as its mode's success; otherwise one sentence for the user, such as "the
// output could not be written". `exitCode` is as the process reports it (0 to 255; the engine's
// negative codes arrive as 256 plus the code); `output` is what the engine printed, which tells a
// locked document from one that cannot be opened at all.
QString engineExitProblem(RuleKind kind, int exitCode, bool crashed, const QString& output);
