#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// What the command line of `relettra-batch` asks for.
struct BatchOptions {
    QStringList inputs;  // files, folders, or "-" for paths on standard input
    QString positionsFile;
    QString positionImagesFile;
    QList<QPair<QString, QString>> findReplace;
    QString contentFile;
    QString contentImagesFile;
    QString outputFolder;
    bool overwrite = false;
    bool skipExisting = false;
    int jobs = 0;        // 0: one per core
    QString reportFile;  // "-" for standard output
    bool quiet = false;
    // Takes the files whose place in the stable order is shardIndex modulo shardCount.
    int shardIndex = 0;
    int shardCount = 1;
};

// The outcome of reading the command line: the options, or what was wrong with it, or the text
// that --help or --version asked for (printed on standard output, exit code 0).
struct ParsedOptions {
    BatchOptions options;
    QString error;
    QString text;
};

// Reads the arguments (the program's name first, as main() gets them).
ParsedOptions parseBatchOptions(const QStringList& arguments);

// The help text, as --help prints it.
QString batchHelpText();
