#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The files of a job in their stable order: the inputs in the order given, each folder replaced
// by the PDF files below it (searched recursively, names ending in ".pdf" in any case, sorted by
// their path below the folder), "-" by the inputs read from standard input, one path a line
// (`readLines` gives them). A file met twice is taken once, at its first place. `problem` names
// the first input that is neither a file nor a folder; the list is then empty.
QStringList collectInputFiles(const QStringList& inputs,
                              const std::function<QStringList()>& readLines, QString& problem);

// The files whose place in `files` is `index` modulo `count`.
QStringList shardOf(const QStringList& files, int index, int count);

// Every line of standard input, without line ends; empty lines are left out.
QStringList standardInputLines();
