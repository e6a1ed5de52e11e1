#include "input_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace {

QStringList pdfFilesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, {QStringLiteral("*.pdf")}, QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
    while (it.hasNext()) {
        files << it.next();
    }
    // QDir's name filters are case-insensitive; the order of a folder listing is not stable.
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

QStringList collectInputFiles(const QStringList& inputs,
                              const std::function<QStringList()>& readLines, QString& problem) {
    QStringList expanded;
    for (const QString& input : inputs) {
        if (input == QLatin1String("-")) {
            expanded += readLines ? readLines() : QStringList();
        } else {
            expanded << input;
        }
    }
    QStringList files;
    QSet<QString> seen;
    const auto take = [&](const QString& path) {
        const QString key = QFileInfo(path).absoluteFilePath();
        if (!seen.contains(key)) {
            seen.insert(key);
            files << QDir::cleanPath(path);
        }
    };
    for (const QString& input : expanded) {
        const QFileInfo info(input);
        if (info.isDir()) {
            for (const QString& file : pdfFilesBelow(input)) {
                take(file);
            }
        } else if (info.isFile()) {
            take(input);
        } else {
            problem =
                QCoreApplication::translate("InputFiles", "%1 is neither a file nor a folder.")
                    .arg(input);
            return {};
        }
    }
    return files;
}

QStringList shardOf(const QStringList& files, int index, int count) {
    QStringList shard;
    for (qsizetype i = index; i < files.size(); i += count) {
        shard << files.at(i);
    }
    return shard;
}

QStringList standardInputLines() {
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) {
        return {};
    }
    QStringList lines;
    while (!input.atEnd()) {
        QString line = QString::fromUtf8(input.readLine());
        while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        if (!line.isEmpty()) {
            lines << line;
        }
    }
    return lines;
}
