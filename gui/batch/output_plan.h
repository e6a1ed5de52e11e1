#pragma once

#include <QString>
#include <QStringList>

// The output of each input when outputs are named by plan rather than by what the folder holds:
// the first of base.pdf, base-0.pdf, … that no input before it in the stable order took. The
// plan depends on the list alone, so every shard of a job, and a job started again, give a file
// the same output.
QStringList plannedOutputs(const QString& folder, const QStringList& inputs);
