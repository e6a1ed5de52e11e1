#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "content_rules.h"
#include "rule_report.h"

// One file of a batch.
struct BatchFile {
    QString inputPath;
    // Its page count as known to the front end; below 0 when it is not known, and the batch then
    // has the information helper read it first. 0 stands for a count that could not be read: the
    // file is still run, but cannot pass for done.
    int pageCount = -1;
    // Where its output goes; empty for the first free name in the output folder (see
    // firstFreeOutputPath), taken when the file starts.
    QString outputPath;
};

// The rules a file is run with, taken from the front end when the file starts.
struct FileRules {
    // Position rules: text-rule lines in the order the engine applies them (see applyingOrder),
    // and image-rule lines in the order they are drawn.
    QStringList textLines;
    QStringList imageLines;
    // Content rules, matched against the text layer of every page.
    QList<ContentRule> textContent;
    QList<ContentRule> imageContent;
    // Whether the page helper writes the file's text layers and each page is searched.
    bool searchPages = false;
    // The engine runs the file gets: text rules first, then image rules over their result.
    bool textRun = false;
    bool imageRun = false;
    // Notes on rules that were left out, for the progress pane.
    QStringList notices;
};

// What became of one file.
struct FileResult {
    int index = 0;
    QString inputPath;
    // The output the file was run for (empty when it failed before one was chosen).
    QString outputPath;
    bool succeeded = false;
    int pageCount = 0;  // below 0 when it was not needed and is not known
    int pagesAnalysed = 0;
    double seconds = 0;
    // The engine's exit code of its last run; `engineRan` is false when no run ended by itself.
    int engineExitCode = 0;
    bool engineRan = false;
    // Every engine run's rule results, text rules first, and the rule lines they answer (empty
    // when the engine did not report one result per line).
    RuleReport report;
    QStringList ruleLines;
    // The progress pane's line ("Succeed: 3 rules in the page's font"), the "Result" cell's
    // tooltip, and, for a file that failed, why, as one sentence.
    QString paneMessage;
    QString details;
    QString reason;
    // It succeeded, but some rules wrote where their find text was not.
    bool warning = false;
};
