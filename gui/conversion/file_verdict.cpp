#include "file_verdict.h"

#include <QCoreApplication>

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("FileVerdict", text);
}

QString runSummary(const EngineOutcome& outcome) {
    QStringList parts;
    if (outcome.textRun) {
        parts << ruleSummary(outcome.textReport, RuleKind::Text);
    }
    if (outcome.imageRun) {
        parts << ruleSummary(outcome.imageReport, RuleKind::Image);
    }
    return parts.isEmpty() ? ruleSummary(RuleReport(), RuleKind::Text)
                           : parts.join(QLatin1String("; "));
}

// Rules that found no find text at their place (elsewhere on the page or nowhere on it) and
// wrote their replacement over the area anyway.
int rulesNotAtTheirPlace(const RuleReport& report) {
    int count = 0;
    for (const RuleReport::Rule& rule : report.rules) {
        count += rule.result == QLatin1String("fallback font") &&
                 (rule.reason.startsWith(QLatin1String("the find text is not at this place")) ||
                  rule.reason.startsWith(QLatin1String("the find text is not on the page")));
    }
    return count;
}

}  // namespace

void judgeEngineOutcome(const EngineOutcome& outcome, FileResult& result) {
    result.report = outcome.textReport;
    result.report.append(outcome.imageReport);
    // A page count of 0 is one the front end could not read; one below 0 was never asked for.
    const bool written = outcome.outputWritten && outcome.pageCount != 0;
    result.succeeded = written && outcome.unreadPages == 0 && outcome.engineProblem.isEmpty();

    QString summary = outcome.noOccurrences && result.report.rules.isEmpty()
                          ? translated("no occurrences of the find texts")
                          : runSummary(outcome);
    if (written && outcome.unreadPages > 0) {
        summary = outcome.unreadPages == 1
                      ? translated(
                            "%1; the text of 1 page could not be read, so it was not "
                            "searched")
                            .arg(summary)
                      : translated(
                            "%1; the text of %2 pages could not be read, so they were not "
                            "searched")
                            .arg(summary)
                            .arg(outcome.unreadPages);
    }
    const int misplaced = rulesNotAtTheirPlace(result.report);
    result.warning = result.succeeded && misplaced > 0;
    if (result.warning) {
        summary += QLatin1String("; ") +
                   (misplaced == 1
                        ? translated("1 rule found no find text at its place and wrote over "
                                     "whatever stood there (a file of another layout?)")
                        : translated("%1 rules found no find text at their places and wrote over "
                                     "whatever stood there (a file of another layout?)")
                              .arg(misplaced));
    }
    if (!outcome.engineProblem.isEmpty()) {
        // Why the file failed comes first; rule counts only where the engine applied rules.
        summary = result.report.rules.isEmpty()
                      ? outcome.engineProblem
                      : outcome.engineProblem + QLatin1String("; ") + summary;
    }
    result.paneMessage = (result.succeeded ? translated("Succeed") : translated("Failed")) +
                         QLatin1String(": ") + summary;
    result.details = ruleDetails(summary, result.report);
    if (result.succeeded) {
        result.reason.clear();
    } else if (!outcome.engineProblem.isEmpty()) {
        result.reason = outcome.engineProblem;
    } else if (!outcome.outputWritten) {
        result.reason = translated("no output was written (%1)").arg(summary);
    } else if (outcome.pageCount == 0) {
        result.reason = translated("the page count of the file is not known");
    } else {
        result.reason = summary;
    }
}

void judgeFailure(const QString& reason, FileResult& result) {
    result.succeeded = false;
    result.paneMessage = translated("Failed: %1").arg(reason);
    result.details = reason;
    result.reason = reason;
}

void judgeFailedStart(const QString& program, const QString& why, FileResult& result) {
    result.succeeded = false;
    result.paneMessage = translated("Could not start %1 (%2).").arg(program, why);
    result.details = translated("Could not start %1.").arg(program);
    result.reason = result.details;
}
