#include "content_rules.h"

#include <QCoreApplication>

#include "page_analysis.h"
#include "rule_file_lines.h"

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
        } else if (kind == RuleKind::Image && !imagePathFitsRuleLine(row.imagePath)) {
            usable.notices.append(
                QCoreApplication::translate(
                    "ContentRules",
                    "Skipped the rule for \"%1\": a rule file cannot hold an image path with "
                    "\")\" in it (rename the image or its folder).")
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
    QStringList lines;
    for (const FindHit& hit : findTextHits(boxes, finds)) {
        const ContentRule& rule = rules.at(hit.find);
        const PositionFields at{QString::number(page), QString::number(hit.box.left),
                                QString::number(hit.box.top), QString::number(hit.box.width),
                                QString::number(hit.box.height)};
        lines.append(kind == RuleKind::Text
                         ? textRuleLine(at, rule.find, rule.replace)
                         : imageRuleLine(at, rule.imagePath, rule.width, rule.height));
    }
    return lines;
}

QString unfitFindTextNotice(const QString& find) {
    return QCoreApplication::translate(
               "ContentRules",
               "Skipped the rule for \"%1\": a rule file cannot hold a find text with a \":\" "
               "followed by other text (the engine would take that text as the replacement).")
        .arg(find);
}
