#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "rule_kind.h"

// What the engine reported about the rules of one run. After each text rule it prints one line
// "Rule result: own font", "Rule result: own font: form field" (a form field's value changed,
// shown in the field's font), "Rule result: fallback font: <reason>" (a form field's value
// in the fallback font: "fallback font: form field: <reason>") or
// "Rule result: not done: <reason>", after each image rule "Rule result: image placed" or
// "Rule result: not done: <reason>".
struct RuleReport {
    // One rule's result as printed: "own font", "fallback font", "image placed" or "not done",
    // and the reason after it (empty for the first and the third).
    struct Rule {
        QString result;
        QString reason;
    };

    int ownFont = 0;
    int formFieldFont = 0;  // form fields' values changed in the fields' own fonts
    int fallbackFont = 0;
    int imagesPlaced = 0;
    int notDone = 0;
    // "fallback font: <reason>" and "not done: <reason>", in the order printed.
    QStringList reasons;
    // Every rule in the order printed.
    QList<Rule> rules;

    // Adds another run's results after these.
    void append(const RuleReport& other);
};

// The report read from the engine's console output; other lines are passed over.
RuleReport readRuleReport(const QString& engineOutput);

// One line for the progress pane, for example "3 rules in the page's font, 1 in a form field's
// font, 1 in the fallback font, 2 not done" or "4 images placed, 1 not placed"; parts with no rule
// are left out, and a run without any rule result reads "no rules".
QString ruleSummary(const RuleReport& report, RuleKind kind);

// A summary followed by the report's reason lines, one per line (the "Result" cell's tooltip).
QString ruleDetails(const QString& summary, const RuleReport& report);
