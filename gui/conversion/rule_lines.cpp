#include "rule_lines.h"

#include <QCoreApplication>

namespace {

// Walks a position text, handing out the characters up to each terminator.
class PieceCursor {
  public:
    explicit PieceCursor(const QString& text) : text(text) {}

    void skip(int count) { at = qMin(at + count, text.size()); }

    // The characters up to `terminator` (or the end); the terminator is stepped over.
    QString until(QChar terminator) {
        qsizetype end = text.indexOf(terminator, at);
        if (end < 0) {
            end = text.size();
        }
        const QString piece = text.mid(at, end - at);
        at = qMin(end + 1, text.size());
        return piece;
    }

  private:
    const QString& text;
    qsizetype at = 0;
};

const QChar kBlank = QLatin1Char(' ');

}  // namespace

PositionPieces positionPieces(const QString& positionText) {
    PieceCursor cursor(positionText);
    PositionPieces pieces;
    cursor.skip(1);
    pieces.page = cursor.until(kBlank);
    cursor.skip(1);  // the blank was stepped over with the page; this is the parenthesis
    pieces.left = cursor.until(kBlank);
    pieces.top = cursor.until(kBlank);
    pieces.width = cursor.until(kBlank);
    pieces.height = cursor.until(QLatin1Char(')'));
    return pieces;
}

QString textRuleLine(const QString& page, const QString& left, const QString& top,
                     const QString& width, const QString& height, const QString& find,
                     const QString& replace) {
    return page + QLatin1Char('-') + left + QLatin1Char('-') + top + QLatin1Char('-') + width +
           QLatin1Char('-') + height + QLatin1Char(':') + find + QLatin1Char(':') + replace +
           QLatin1String("\r\n");
}

QString imageRuleLine(const QString& page, const QString& left, const QString& top,
                      const QString& imagePath, const QString& width, const QString& height) {
    return page + QLatin1Char(':') + left + QLatin1Char(':') + top + QLatin1String(":(") +
           imagePath + QLatin1String("):") + width + QLatin1Char(':') + height +
           QLatin1String("\r\n");
}

QString positionTextRuleLine(const QString& positionText, const QString& find,
                             const QString& replace) {
    const PositionPieces p = positionPieces(positionText);
    return textRuleLine(p.page, p.left, p.top, p.width, p.height, find, replace);
}

QString positionImageRuleLine(const QString& positionText, const QString& imagePath,
                              const QString& width, const QString& height) {
    const PositionPieces p = positionPieces(positionText);
    return imageRuleLine(p.page, p.left, p.top, imagePath, width, height);
}

bool findTextFitsRuleLine(const QString& find) {
    for (qsizetype i = 0; i + 1 < find.size(); ++i) {
        if (find.at(i) == QLatin1Char(':') && find.at(i + 1) != QLatin1Char(':')) {
            return false;
        }
    }
    return true;
}

QString unfitFindTextNotice(const QString& find) {
    return QCoreApplication::translate(
               "RuleLines",
               "Skipped the rule for \"%1\": a rule file cannot hold a find text with a \":\" "
               "followed by other text (the engine would take that text as the replacement).")
        .arg(find);
}
