#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "rule_kind.h"
#include "text_layer.h"

// One row of a content table: the text to find and what takes its place, a replacement text
// (text rules) or an image with the width and height as the user typed them (image rules).
struct ContentRule {
    QString find;
    QString replace;
    QString imagePath;
    QString width;
    QString height;
};

// The rows a content batch can use for one file, and the progress pane's notes on the others.
struct UsableContentRules {
    QList<ContentRule> rules;
    QStringList notices;
};

// Leaves out rows with an empty find text, text rules that do not fit a rule line (see
// textRuleLineProblem()), and image rules without an image (the engine would stop at the
// first image it cannot read) or whose image path does not fit a rule line; one note for all rows
// without a find text and one for each other row left out.
UsableContentRules usableContentRules(RuleKind kind, const QList<ContentRule>& rows);

// The rule lines of one analysed page (1-based `page`): for each place where a rule's find text
// stands (see findTextHits()), a text rule with that box and the rule's find and replace texts,
// or an image rule at the box's left and top with the rule's image, width and height. Text rules
// come in applyingOrder() (right to left), image rules in the order found.
QStringList contentRuleLines(RuleKind kind, int page, const QList<Subtext>& boxes,
                             const QList<ContentRule>& rules);

// The progress pane's note for a text rule that a rule line cannot carry
// (see textRuleLineProblem()).
QString unfitTextRuleNotice(const QString& find, const QString& replace);
