#pragma once

#include <QString>
#include <functional>

// Whether a file or folder of that path exists.
bool pathExists(const QString& path);

// The output file for `inputPath` in `folder`: the first of base.pdf, base-0.pdf, base-1.pdf, …
// that `exists` does not know, base being the input's file name cut at its first dot
// (report.v2.pdf gives report.pdf; a name that starts with dots loses them first, so .x.pdf
// gives x.pdf and not a hidden ".pdf"). Taking a free name means that an output found after the
// run was written by it, and that inputs of one base name never overwrite each other's outputs.
QString firstFreeOutputPath(const QString& folder, const QString& inputPath,
                            const std::function<bool(const QString&)>& exists = pathExists);

// Removes what an engine run stopped halfway left of the output `outputPath`: the engine writes
// an output to ".<file name>.<random>.part" beside it and renames that only when it is complete.
void removeUnfinishedOutput(const QString& outputPath);
