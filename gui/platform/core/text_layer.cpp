#include "text_layer.h"

#include <limits>

namespace {

// A non-negative decimal integer made of ASCII digits only; 0 for anything else or an overflow.
int plainDecimal(QStringView digits) {
    if (digits.isEmpty()) {
        return 0;
    }
    qint64 value = 0;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return 0;
        }
        value = value * 10 + (c.unicode() - '0');
        if (value > std::numeric_limits<int>::max()) {
            return 0;
        }
    }
    return static_cast<int>(value);
}

// The character of a reference's name ("amp", "#233", "#xE9"); null when it is no reference we
// know.
QString referencedCharacter(QStringView name) {
    if (name == u"amp") return QStringLiteral("&");
    if (name == u"lt") return QStringLiteral("<");
    if (name == u"gt") return QStringLiteral(">");
    if (name == u"quot") return QStringLiteral("\"");
    if (name == u"apos") return QStringLiteral("'");
    if (name.size() < 2 || name.front() != QLatin1Char('#')) {
        return QString();
    }
    const bool hex = name.at(1) == QLatin1Char('x') || name.at(1) == QLatin1Char('X');
    const QStringView digits = name.mid(hex ? 2 : 1);
    bool ok = false;
    const uint code = digits.toUInt(&ok, hex ? 16 : 10);
    // Only digits may follow ("&#+5;" is not a reference), and the value must be a character.
    const bool onlyDigits = !digits.isEmpty() && !digits.startsWith(QLatin1Char('+')) &&
                            !digits.startsWith(QLatin1Char('-'));
    if (!ok || !onlyDigits || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return QString();
    }
    const char32_t character = code;
    return QString::fromUcs4(&character, 1);
}

}  // namespace

int getpos(const QString& sPos, const QString& sRow) {
    const qsizetype keyAt = sRow.indexOf(sPos);
    if (keyAt < 0) {
        return 0;
    }
    const qsizetype start = keyAt + sPos.size() + 1;
    qsizetype end = start;
    while (end < sRow.size() && sRow.at(end) != QLatin1Char(';') &&
           sRow.at(end) != QLatin1Char('"')) {
        ++end;
    }
    return start < end ? plainDecimal(QStringView(sRow).mid(start, end - start)) : 0;
}

QString gettext(const QString& sRow) {
    const qsizetype end = sRow.indexOf(QLatin1String("</span>"));
    if (end <= 0) {
        return QString();
    }
    qsizetype start = 1;
    for (qsizetype i = end - 1; i >= 1; --i) {
        if (sRow.at(i) == QLatin1Char('>')) {
            start = i + 1;
            break;
        }
    }
    return decodeCharacterReferences(sRow.mid(start, end - start));
}

Subtext getSubtextInfo(const QString& sRow) {
    Subtext box;
    box.left = getpos(QStringLiteral("left"), sRow);
    box.top = getpos(QStringLiteral("top"), sRow);
    box.width = getpos(QStringLiteral("width"), sRow);
    box.height = getpos(QStringLiteral("height"), sRow);
    box.text = gettext(sRow);
    return box;
}

QStringList textLayerLines(const QString& layer) {
    return layer.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString decodeCharacterReferences(const QString& text) {
    if (!text.contains(QLatin1Char('&'))) {
        return text;
    }
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype semicolon =
            text.at(i) == QLatin1Char('&') ? text.indexOf(QLatin1Char(';'), i + 1) : -1;
        // Names are short; a far semicolon belongs to other text.
        if (semicolon > i && semicolon - i <= 10) {
            const QString character =
                referencedCharacter(QStringView(text).mid(i + 1, semicolon - i - 1));
            if (!character.isNull()) {
                out += character;
                i = semicolon + 1;
                continue;
            }
        }
        out += text.at(i);
        ++i;
    }
    return out;
}
