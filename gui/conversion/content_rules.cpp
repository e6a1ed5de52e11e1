#include "content_rules.h"

#include <QCoreApplication>

#include "page_analysis.h"
#include "rule_file_lines.h"
#include "rule_order.h"

UsableContentRules usableContentRules(RuleKind kind, const QList<ContentRule>& rows) {
    UsableContentRules usable;
    int emptyFinds = 0;
    for (const ContentRule& row : rows) {
        if (row.find.isEmpty()) {
            ++emptyFinds;
        } else if (kind == RuleKind::Text &&
                   !textRuleLineProblem(row.find, row.replace).isEmpty()) {
            usable.notices.append(unfitTextRuleNotice(row.find, row.replace));
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
                    "\")\" or a line break in it (rename the image or its folder).")
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
    const QList<FindHit> hits = findTextHits(boxes, finds);
    QList<PositionFields> places;
    for (const FindHit& hit : hits) {
        places.append({QString::number(page), QString::number(hit.box.left),
                       QString::number(hit.box.top), QString::number(hit.box.width),
                       QString::number(hit.box.height)});
    }
    QStringList lines;
    if (kind == RuleKind::Text) {
        for (int i : applyingOrder(places)) {
            const ContentRule& rule = rules.at(hits.at(i).find);
            lines.append(textRuleLine(places.at(i), rule.find, rule.replace));
        }
        return lines;
    }
    // Images change no text; they are drawn in the order found, later ones on top.
    for (int i = 0; i < hits.size(); ++i) {
        const ContentRule& rule = rules.at(hits.at(i).find);
        lines.append(imageRuleLine(places.at(i), rule.imagePath, rule.width, rule.height));
    }
    return lines;
}

QString unfitTextRuleNotice(const QString& find, const QString& replace) {
    return QCoreApplication::translate("ContentRules", "Skipped the rule for \"%1\": %2")
        .arg(find, textRuleLineProblem(find, replace));
}
