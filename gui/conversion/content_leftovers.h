#pragma once

#include <QString>

// Removes from `folder` what the content batch left of the previous file: the page helper's
// "<base>_pg_*" files and the content rule file, so that no page or rule of one file can be
// taken for the next.
void removeContentLeftovers(const QString& folder, const QString& pageBase,
                            const QString& ruleFileName);
