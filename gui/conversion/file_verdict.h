#pragma once

#include <QString>

#include "batch_types.h"

// What a file's engine runs left behind, for the verdict on it.
struct EngineOutcome {
    // The output exists, and it did not before the run (outputs take free names or are replaced
    // through a temporary file, so one that is there was written by this run).
    bool outputWritten = false;
    // The file's page count: 0 when the front end could not read it, below 0 when not known.
    int pageCount = 0;
    // Pages whose text layer could not be read: their places were not searched.
    int unreadPages = 0;
    bool textRun = false;
    bool imageRun = false;
    RuleReport textReport;
    RuleReport imageReport;
    // What the end of the last engine run says, when it did not end as a success (see
    // engineExitProblem).
    QString engineProblem;
    // The file's pages were searched and no find text stands on any of them.
    bool noOccurrences = false;
};

// Judges a file whose engine runs have ended: it succeeds when the engine ended as a success, its
// output was written, its page count could be read (when it was asked for) and every page was
// searched. Fills the result's verdict, report, pane line ("Succeed: <summary>" or
// "Failed: <what the engine's end means>; <summary>"), tooltip (the summary and the engine's
// reasons) and, when it failed, the reason. A file whose rules wrote where their find text was not
// (a file of another layout, typically) succeeds with a warning that says so.
void judgeEngineOutcome(const EngineOutcome& outcome, FileResult& result);

// A file that failed before its engine could report: the pane reads "Failed: <reason>" and the
// tooltip the reason.
void judgeFailure(const QString& reason, FileResult& result);

// A file whose child program could not be started.
void judgeFailedStart(const QString& program, const QString& why, FileResult& result);
