#include "batch_report.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

QJsonObject reportEntry(const FileResult& result) {
    QJsonArray rules;
    for (qsizetype i = 0; i < result.report.rules.size(); ++i) {
        const RuleReport::Rule& rule = result.report.rules.at(i);
        QJsonObject entry{{"result", rule.result}, {"reason", rule.reason}};
        if (i < result.ruleLines.size()) {
            entry.insert("rule", result.ruleLines.at(i));
        }
        rules.append(entry);
    }
    const bool written = !result.outputPath.isEmpty() && QFileInfo::exists(result.outputPath);
    QJsonObject entry{
        {"input", result.inputPath},
        {"output", result.succeeded || written ? result.outputPath : QString()},
        {"outcome", result.succeeded ? "succeeded" : "failed"},
        {"reason", result.reason},
        {"pages", result.pageCount < 0 ? QJsonValue() : QJsonValue(result.pageCount)},
        {"seconds", qRound(result.seconds * 1000) / 1000.0},
        {"summary", result.details.section(QLatin1Char('\n'), 0, 0)},
        {"rules", rules},
    };
    if (result.engineRan) {
        entry.insert("engineExitCode", result.engineExitCode);
    }
    return entry;
}

QJsonObject skippedEntry(const QString& input, const QString& output) {
    return {{"input", input}, {"output", output}, {"outcome", "skipped"}};
}

QByteArray reportLine(const QJsonObject& entry) {
    return QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
}
