#include "content_leftovers.h"

#include <QDir>

void removeContentLeftovers(const QString& folder, const QString& pageBase,
                            const QString& ruleFileName) {
    QDir dir(folder);
    const QStringList pages =
        dir.entryList({pageBase + QLatin1String("_pg_*")}, QDir::Files | QDir::Hidden);
    for (const QString& page : pages) {
        dir.remove(page);
    }
    dir.remove(ruleFileName);
}
