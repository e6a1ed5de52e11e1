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
    return !imagePath.contains(QLatin1Char(')'));
}

bool writeRuleFile(const QString& path, const QStringList& lines) {
    return writeLines(path, lines, QIODevice::Truncate);
}

bool appendRuleLines(const QString& path, const QStringList& lines) {
    return writeLines(path, lines, QIODevice::Append);
}
