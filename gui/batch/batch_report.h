#pragma once

#include <QByteArray>
#include <QJsonObject>

#include "batch_types.h"

// One line of the report: a JSON object for a file that was run,
//   {"input", "output", "outcome": "succeeded" | "failed", "reason", "pages", "seconds",
//    "summary", "engineExitCode" (when the engine ended by itself),
//    "rules": [{"result", "reason", "rule"}]}
// "output" is empty when no output was written, "reason" empty when the file succeeded; "rule"
// is the rule line the result answers, where the engine gave one result per line.
QJsonObject reportEntry(const FileResult& result);
// For a file left out because its output exists: {"input", "output", "outcome": "skipped"}.
QJsonObject skippedEntry(const QString& input, const QString& output);
// The entry as one line, with its line end.
QByteArray reportLine(const QJsonObject& entry);
