#include "content_rules.h"

#include <QCoreApplication>

#include "page_analysis.h"

UsableContentRules usableContentRules(RuleKind kind, const QList<ContentRule>& rows) {
    UsableContentRules usable;
    int emptyFinds = 0;
    for (const ContentRule& row : rows) {
        if (row.find.isEmpty()) {
            ++emptyFinds;
        } else if (kind == RuleKind::Text && !findTextFitsRuleLine(row.find)) {
            usable.notices.append(unfitFindTextNotice(row.find));
        } else if (kind == RuleKind::Image && row.imagePath.isEmpty()) {
            usable.notices.append(
                QCoreApplication::translate("ContentRules",
                                            "Skipped the rule for \"%1\": no image is chosen.")
                    .arg(row.find));
        } else {
            usable.rules.append(row);
        }
    }
    if (emptyFinds == 1) {
        usable.notices.append(
            QCoreApplication::translate("ContentRules", "Skipped a rule with an empty find text."));
    } else if (emptyFinds > 1) {
        usable.notices.append(
            QCoreApplication::translate("ContentRules", "Skipped %1 rules with an empty find text.")
                .arg(emptyFinds));
    }
    return usable;
}

QStringList contentRuleLines(RuleKind kind, int page, const QList<Subtext>& boxes,
                             const QList<ContentRule>& rules) {
    QStringList finds;
    for (const ContentRule& rule : rules) {
        finds.append(rule.find);
    }
    const QString pageText = QString::number(page);
    QStringList lines;
    for (const FindHit& hit : findTextHits(boxes, finds)) {
        const ContentRule& rule = rules.at(hit.find);
        const QString left = QString::number(hit.box.left);
        const QString top = QString::number(hit.box.top);
        if (kind == RuleKind::Text) {
            lines.append(textRuleLine(pageText, left, top, QString::number(hit.box.width),
                                      QString::number(hit.box.height), rule.find, rule.replace));
        } else {
            lines.append(
                imageRuleLine(pageText, left, top, rule.imagePath, rule.width, rule.height));
        }
    }
    return lines;
}
