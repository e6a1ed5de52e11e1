#include "rule_file.h"

#include <QDir>
#include <QFile>

namespace {

bool writeLines(const QString& path, const QStringList& lines, QIODevice::OpenMode mode) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | mode)) {
        return false;
    }
    bool written = true;
    for (const QString& line : lines) {
        const QByteArray bytes = line.toUtf8();
        written = written && file.write(bytes) == bytes.size();
    }
    return file.flush() && written;
}

}  // namespace

bool writeRuleFile(const QString& path, const QStringList& lines) {
    return writeLines(path, lines, QIODevice::Truncate);
}

bool appendRuleLines(const QString& path, const QStringList& lines) {
    return writeLines(path, lines, QIODevice::Append);
}

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
