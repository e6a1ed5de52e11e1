#pragma once

#include <QString>
#include <QStringList>

// Rule files are UTF-8, which is what the engine reads on this platform; each line handed in
// carries its own "\r\n".

// Writes `lines` as the whole file (emptied first); false when it cannot be written.
bool writeRuleFile(const QString& path, const QStringList& lines);

// Adds `lines` at the end of the file, making it when it does not exist yet.
bool appendRuleLines(const QString& path, const QStringList& lines);

// Removes from `folder` what the content batch left of the previous file: the page helper's
// "<base>_pg_*" files and the content rule file, so that no page or rule of one file can be
// taken for the next.
void removeContentLeftovers(const QString& folder, const QString& pageBase,
                            const QString& ruleFileName);
