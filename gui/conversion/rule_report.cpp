#include "rule_report.h"

#include <QCoreApplication>

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("RuleReport", text);
}

// "<count> <what>", where the first part of a summary names what it counts ("1 rule in the
// page's font") and the later ones do not ("2 in the fallback font").
QString part(int count, bool first, const char* singular, const char* plural, const char* rest) {
    QString text = QString::number(count);
    if (first) {
        text += QLatin1Char(' ') + translated(count == 1 ? singular : plural);
    }
    return text + QLatin1Char(' ') + translated(rest);
}

QString joinParts(const QList<int>& counts, const char* singular, const char* plural,
                  const QList<const char*>& rests) {
    QStringList parts;
    for (qsizetype i = 0; i < counts.size(); ++i) {
        if (counts.at(i) > 0) {
            parts.append(part(counts.at(i), parts.isEmpty(), singular, plural, rests.at(i)));
        }
    }
    return parts.isEmpty() ? translated("no rules") : parts.join(QLatin1String(", "));
}

}  // namespace

RuleReport readRuleReport(const QString& engineOutput) {
    static const QLatin1String prefix("Rule result: ");
    RuleReport report;
    for (QString line : engineOutput.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        if (!line.startsWith(prefix)) {
            continue;
        }
        const QString result = line.mid(prefix.size());
        const qsizetype colon = result.indexOf(QLatin1String(": "));
        const RuleReport::Rule rule{colon < 0 ? result : result.left(colon),
                                    colon < 0 ? QString() : result.mid(colon + 2)};
        if (rule.result == QLatin1String("own font")) {
            ++(rule.reason == QLatin1String("form field") ? report.formFieldFont : report.ownFont);
        } else if (rule.result == QLatin1String("image placed")) {
            ++report.imagesPlaced;
        } else if (rule.result == QLatin1String("fallback font")) {
            ++report.fallbackFont;
            report.reasons.append(result);
        } else if (rule.result == QLatin1String("not done")) {
            ++report.notDone;
            report.reasons.append(result);
        } else {
            continue;
        }
        report.rules.append(rule);
    }
    return report;
}

void RuleReport::append(const RuleReport& other) {
    ownFont += other.ownFont;
    formFieldFont += other.formFieldFont;
    fallbackFont += other.fallbackFont;
    imagesPlaced += other.imagesPlaced;
    notDone += other.notDone;
    reasons += other.reasons;
    rules += other.rules;
}

QString ruleSummary(const RuleReport& report, RuleKind kind) {
    if (kind == RuleKind::Image) {
        return joinParts({report.imagesPlaced, report.notDone}, "image", "images",
                         {"placed", "not placed"});
    }
    return joinParts(
        {report.ownFont, report.formFieldFont, report.fallbackFont, report.notDone}, "rule",
        "rules",
        {"in the page's font", "in a form field's font", "in the fallback font", "not done"});
}

QString ruleDetails(const QString& summary, const RuleReport& report) {
    QStringList lines{summary};
    lines += report.reasons;
    return lines.join(QLatin1Char('\n'));
}
