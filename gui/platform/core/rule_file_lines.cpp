#include "rule_file_lines.h"

#include <QCoreApplication>
#include <QFile>

namespace {

// Walks a position text piece by piece; each piece ends at its separator, which is stepped over.
class PieceCursor {
  public:
    PieceCursor(const QString& text, qsizetype start) : text(text), at(start) {}

    QString until(QChar separator, qsizetype stepOver = 1) {
        if (at >= text.size()) {
            return QString();
        }
        const qsizetype end = text.indexOf(separator, at);
        if (end < 0) {
            const QString piece = text.mid(at);
            at = text.size();
            return piece;
        }
        const QString piece = text.mid(at, end - at);
        at = end + stepOver;
        return piece;
    }

  private:
    const QString& text;
    qsizetype at;
};

QString translated(const char* text) {
    return QCoreApplication::translate("RuleFileLines", text);
}

bool holdsLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

bool isWholeNumber(const QString& text, int smallest) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= smallest && !text.startsWith(QLatin1Char('+'));
}

bool isNumber(const QString& text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && value >= 0;
}

QString positionProblem(const PositionFields& at, bool withSize, bool wholeNumbers) {
    if (!isWholeNumber(at.page, 1)) {
        return translated("the page is not a whole number of 1 or more.");
    }
    QStringList places{at.left, at.top};
    if (withSize) {
        places << at.width << at.height;
    }
    for (const QString& place : places) {
        if (wholeNumbers ? !isWholeNumber(place, 0) : !isNumber(place)) {
            return translated("a position is not a number of 0 or more.");
        }
    }
    return QString();
}

bool writeLines(const QString& path, const QStringList& lines, QIODevice::OpenMode mode) {
    QByteArray content;
    for (const QString& line : lines) {
        content += line.toUtf8();
        content += "\r\n";
    }
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly | mode)) {
        return false;
    }
    const bool complete = file.write(content) == content.size();
    return file.flush() && complete;
}

}  // namespace

PositionFields positionFields(const QString& position) {
    PieceCursor cursor(position, 1);
    PositionFields fields;
    fields.page = cursor.until(QLatin1Char(' '), 2);
    fields.left = cursor.until(QLatin1Char(' '));
    fields.top = cursor.until(QLatin1Char(' '));
    fields.width = cursor.until(QLatin1Char(' '));
    fields.height = cursor.until(QLatin1Char(')'));
    return fields;
}

QString textRuleLine(const PositionFields& at, const QString& find, const QString& replace) {
    const QChar dash = QLatin1Char('-');
    return at.page + dash + at.left + dash + at.top + dash + at.width + dash + at.height +
           QLatin1Char(':') + find + QLatin1Char(':') + replace;
}

QString imageRuleLine(const PositionFields& at, const QString& imagePath, const QString& width,
                      const QString& height) {
    const QChar colon = QLatin1Char(':');
    return at.page + colon + at.left + colon + at.top + QLatin1String(":(") + imagePath +
           QLatin1String("):") + width + colon + height;
}

bool findTextFitsRuleLine(const QString& find) {
    for (qsizetype i = 0; i + 1 < find.size(); ++i) {
        if (find.at(i) == QLatin1Char(':') && find.at(i + 1) != QLatin1Char(':')) {
            return false;
        }
    }
    return true;
}

QString textRuleLineProblem(const QString& find, const QString& replace) {
    if (holdsLineBreak(find) || holdsLineBreak(replace)) {
        return translated("its text holds a line break, which would end the rule's line.");
    }
    if (!findTextFitsRuleLine(find)) {
        return QCoreApplication::translate(
            "RuleFileLines",
            "its find text holds a \":\" followed by other text, where the engine would end the "
            "find text.");
    }
    if (replace.startsWith(QLatin1Char(':'))) {
        return QCoreApplication::translate(
            "RuleFileLines",
            "its replacement starts with a \":\", which the engine would take as part of the "
            "find text.");
    }
    return QString();
}

bool imagePathFitsRuleLine(const QString& imagePath) {
    return !imagePath.contains(QLatin1Char(')')) && !holdsLineBreak(imagePath);
}

TextRuleFields readTextRuleLine(const QString& line, QString& problem) {
    TextRuleFields rule;
    PieceCursor cursor(line, 0);
    rule.at.page = cursor.until(QLatin1Char('-'));
    rule.at.left = cursor.until(QLatin1Char('-'));
    rule.at.top = cursor.until(QLatin1Char('-'));
    rule.at.width = cursor.until(QLatin1Char('-'));
    rule.at.height = cursor.until(QLatin1Char(':'));
    const qsizetype textStart = rule.at.page.size() + rule.at.left.size() + rule.at.top.size() +
                                rule.at.width.size() + rule.at.height.size() + 5;
    const QString text = line.mid(textStart);
    qsizetype end = 0;
    while (end < text.size() &&
           !(text.at(end) == QLatin1Char(':') &&
             (end + 1 >= text.size() || text.at(end + 1) != QLatin1Char(':')))) {
        ++end;
    }
    rule.find = text.left(end);
    rule.replace = text.mid(end + 1);
    problem = positionProblem(rule.at, true, true);
    if (problem.isEmpty() && (textStart > line.size() || end >= text.size())) {
        problem = translated("the line has no \":\" between its find text and its replacement.");
    }
    if (problem.isEmpty()) {
        problem = textRuleLineProblem(rule.find, rule.replace);
    }
    return rule;
}

ImageRuleFields readImageRuleLine(const QString& line, QString& problem) {
    ImageRuleFields rule;
    PieceCursor cursor(line, 0);
    rule.at.page = cursor.until(QLatin1Char(':'));
    rule.at.left = cursor.until(QLatin1Char(':'));
    rule.at.top = cursor.until(QLatin1Char(':'));
    const qsizetype pathStart = rule.at.page.size() + rule.at.left.size() + rule.at.top.size() + 4;
    const qsizetype pathEnd = line.indexOf(QLatin1Char(')'), pathStart);
    problem = positionProblem(rule.at, false, false);
    if (!problem.isEmpty()) {
        return rule;
    }
    if (line.mid(pathStart - 1, 1) != QLatin1String("(") || pathEnd < 0 ||
        line.mid(pathEnd, 2) != QLatin1String("):")) {
        problem = translated("the image path is not written as \"(path)\".");
        return rule;
    }
    rule.imagePath = line.mid(pathStart, pathEnd - pathStart);
    PieceCursor sizes(line, pathEnd + 2);
    rule.width = sizes.until(QLatin1Char(':'));
    rule.height = sizes.until(QLatin1Char(':'));
    if (rule.imagePath.isEmpty() || !imagePathFitsRuleLine(rule.imagePath)) {
        problem = translated("the image path is empty or holds a line break.");
    } else if (!isNumber(rule.width) || !isNumber(rule.height) ||
               imageRuleLine(rule.at, rule.imagePath, rule.width, rule.height) != line) {
        problem = translated("the width and the height are not numbers of 0 or more.");
    }
    return rule;
}

bool writeRuleFile(const QString& path, const QStringList& lines) {
    return writeLines(path, lines, QIODevice::Truncate);
}

bool appendRuleLines(const QString& path, const QStringList& lines) {
    return writeLines(path, lines, QIODevice::Append);
}
