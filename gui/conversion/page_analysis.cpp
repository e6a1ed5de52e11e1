#include "page_analysis.h"

#include <algorithm>

namespace {

bool allPunctuation(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPunct(); });
}

// Whether a box's text is the word, as it stands or with punctuation around it: the box's text is
// the word with nothing but punctuation before it (when `leading`) and after it (when
// `trailing`). "(office)," holds "office"; a phrase's first word may be led by punctuation and its
// last one followed by it.
bool wordMatches(const QString& boxText, const QString& word, bool leading, bool trailing) {
    if (word.isEmpty() || boxText == word) {
        return !word.isEmpty();
    }
    for (qsizetype at = boxText.indexOf(word); at >= 0; at = boxText.indexOf(word, at + 1)) {
        const QStringView before = QStringView(boxText).left(at);
        const QStringView after = QStringView(boxText).mid(at + word.size());
        if ((before.isEmpty() || (leading && allPunctuation(before))) &&
            (after.isEmpty() || (trailing && allPunctuation(after)))) {
            return true;
        }
    }
    return false;
}

// The smallest box holding both.
Subtext unite(const Subtext& a, const Subtext& b) {
    Subtext box;
    box.left = std::min(a.left, b.left);
    box.top = std::min(a.top, b.top);
    box.width = std::max(a.left + a.width, b.left + b.width) - box.left;
    box.height = std::max(a.top + a.height, b.top + b.height) - box.top;
    box.text = a.text + QLatin1Char(' ') + b.text;
    return box;
}

// Whether the boxes from `start` on hold `words` one after the other on one line, left to
// right; `hit` receives the union of their boxes.
bool phraseStartsAt(const QList<Subtext>& boxes, qsizetype start, const QStringList& words,
                    Subtext& hit) {
    if (start + words.size() > boxes.size()) {
        return false;
    }
    for (qsizetype i = 0; i < words.size(); ++i) {
        const Subtext& box = boxes.at(start + i);
        if (!wordMatches(box.text, words.at(i), i == 0, i + 1 == words.size())) {
            return false;
        }
        if (i == 0) {
            hit = box;
            continue;
        }
        const Subtext& previous = boxes.at(start + i - 1);
        if (!boxesShareLine(previous, box) || box.left <= previous.left) {
            return false;
        }
        hit = unite(hit, box);
    }
    return true;
}

}  // namespace

QList<Subtext> readPageBoxes(const QString& layer) {
    QList<Subtext> boxes;
    for (const QString& line : textLayerLines(layer)) {
        if (boxes.size() == kMaxPageLayerLines) {
            break;
        }
        boxes.append(getSubtextInfo(line));
        if (boxes.last().left == 0 && boxes.last().top == 0) {
            break;
        }
    }
    return boxes;
}

bool boxesShareLine(const Subtext& a, const Subtext& b) {
    return 2 * std::abs(a.top - b.top) <= std::min(a.height, b.height);
}

QList<FindHit> findTextHits(const QList<Subtext>& boxes, const QStringList& finds) {
    QList<QStringList> words;
    for (const QString& find : finds) {
        words.append(find.split(QLatin1Char(' ')));
    }
    QList<FindHit> hits;
    for (qsizetype at = 0; at < boxes.size(); ++at) {
        for (qsizetype f = 0; f < finds.size(); ++f) {
            if (finds.at(f).isEmpty()) {
                continue;
            }
            Subtext box;
            const bool found = words.at(f).size() == 1
                                   ? wordMatches(boxes.at(at).text, finds.at(f), true, true)
                                   : phraseStartsAt(boxes, at, words.at(f), box);
            if (found) {
                hits.append({static_cast<int>(f), words.at(f).size() == 1 ? boxes.at(at) : box});
            }
        }
    }
    return hits;
}
