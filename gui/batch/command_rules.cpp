#include "command_rules.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "rule_file_lines.h"
#include "rule_order.h"

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("CommandRules", text);
}

// The lines of a UTF-8 text file, each with its line number; empty lines are left out.
struct NumberedLine {
    int number;
    QString text;
};
bool readLines(const QString& path, QList<NumberedLine>& lines, QStringList& problems) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        problems << translated("%1: cannot be read.").arg(path);
        return false;
    }
    int number = 0;
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        ++number;
        while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        if (!line.isEmpty()) {
            lines.append({number, line});
        }
    }
    return true;
}

QString located(const QString& path, int line, const QString& problem) {
    return QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(problem);
}

QString imageProblem(const QString& image) {
    const QFileInfo info(image);
    if (!info.isFile() || !info.isReadable()) {
        return translated("the image %1 cannot be read.").arg(image);
    }
    return QString();
}

void readPositions(const QString& path, CommandRules& out) {
    QList<NumberedLine> lines;
    if (!readLines(path, lines, out.problems)) {
        return;
    }
    QList<PositionFields> places;
    QStringList texts;
    for (const NumberedLine& line : lines) {
        QString problem;
        const TextRuleFields rule = readTextRuleLine(line.text, problem);
        if (!problem.isEmpty()) {
            out.problems << located(path, line.number, problem);
            continue;
        }
        places << rule.at;
        texts << textRuleLine(rule.at, rule.find, rule.replace);
    }
    for (int i : applyingOrder(places)) {
        out.rules.textLines << texts.at(i);
    }
    out.rules.textRun = true;
}

void readPositionImages(const QString& path, CommandRules& out) {
    QList<NumberedLine> lines;
    if (!readLines(path, lines, out.problems)) {
        return;
    }
    for (const NumberedLine& line : lines) {
        QString problem;
        const ImageRuleFields rule = readImageRuleLine(line.text, problem);
        if (problem.isEmpty()) {
            problem = imageProblem(rule.imagePath);
        }
        if (!problem.isEmpty()) {
            out.problems << located(path, line.number, problem);
            continue;
        }
        out.rules.imageLines << line.text;
    }
    out.rules.imageRun = true;
}

// A content rule's problem, as the rule file lines would meet it.
QString contentProblem(const ContentRule& rule, RuleKind kind) {
    if (rule.find.isEmpty()) {
        return translated("the find text is empty.");
    }
    if (kind == RuleKind::Text) {
        return textRuleLineProblem(rule.find, rule.replace);
    }
    if (!imagePathFitsRuleLine(rule.imagePath)) {
        return translated(
            "a rule file cannot hold an image path with \")\" or a line break in "
            "it.");
    }
    for (const QString& size : {rule.width, rule.height}) {
        bool ok = false;
        if (size.toDouble(&ok) < 0 || !ok) {
            return translated("the width and the height must be numbers of 0 or more.");
        }
    }
    return imageProblem(rule.imagePath);
}

void readContent(const QString& path, RuleKind kind, CommandRules& out) {
    QList<NumberedLine> lines;
    if (!readLines(path, lines, out.problems)) {
        return;
    }
    const int fields = kind == RuleKind::Text ? 2 : 4;
    for (const NumberedLine& line : lines) {
        const QStringList parts = line.text.split(QLatin1Char('\t'));
        if (parts.size() != fields) {
            out.problems << located(
                path, line.number,
                translated("the line needs %1 fields separated by tabs.").arg(fields));
            continue;
        }
        const ContentRule rule =
            kind == RuleKind::Text
                ? ContentRule{parts.at(0), parts.at(1), {}, {}, {}}
                : ContentRule{parts.at(0), {}, parts.at(1), parts.at(2), parts.at(3)};
        const QString problem = contentProblem(rule, kind);
        if (!problem.isEmpty()) {
            out.problems << located(path, line.number, problem);
            continue;
        }
        (kind == RuleKind::Text ? out.rules.textContent : out.rules.imageContent) << rule;
    }
}

}  // namespace

CommandRules readCommandRules(const BatchOptions& options) {
    CommandRules out;
    if (!options.positionsFile.isEmpty()) {
        readPositions(options.positionsFile, out);
    }
    if (!options.positionImagesFile.isEmpty()) {
        readPositionImages(options.positionImagesFile, out);
    }
    for (const auto& [find, replace] : options.findReplace) {
        const ContentRule rule{find, replace, {}, {}, {}};
        const QString problem = contentProblem(rule, RuleKind::Text);
        if (!problem.isEmpty()) {
            out.problems << translated("--find \"%1\": %2").arg(find, problem);
            continue;
        }
        out.rules.textContent << rule;
    }
    if (!options.contentFile.isEmpty()) {
        readContent(options.contentFile, RuleKind::Text, out);
    }
    if (!options.contentImagesFile.isEmpty()) {
        readContent(options.contentImagesFile, RuleKind::Image, out);
    }
    FileRules& rules = out.rules;
    rules.searchPages = !options.findReplace.isEmpty() || !options.contentFile.isEmpty() ||
                        !options.contentImagesFile.isEmpty();
    rules.textRun =
        rules.textRun || !options.findReplace.isEmpty() || !options.contentFile.isEmpty();
    rules.imageRun = rules.imageRun || !options.contentImagesFile.isEmpty();
    return out;
}
