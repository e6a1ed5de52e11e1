#include "position_text.h"

#include "text_layer.h"

namespace {

// Walks a position text piece by piece; each piece ends at its separator, which is stepped over.
class PieceCursor {
  public:
    explicit PieceCursor(const QString& text, qsizetype start) : text(text), at(start) {}

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

}  // namespace

QString positionText(int page, const Subtext& box) {
    return QStringLiteral("P%1 (%2 %3 %4 %5)")
        .arg(page)
        .arg(box.left)
        .arg(box.top)
        .arg(box.width)
        .arg(box.height);
}

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
