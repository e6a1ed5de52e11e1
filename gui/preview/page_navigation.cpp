#include "page_navigation.h"

PageButtonStates pageButtonStates(int page, int pageCount) {
    PageButtonStates states;
    if (pageCount == 0) {
        return states;
    }
    states.previous = page >= 2;
    states.next = page < pageCount;
    return states;
}

QString pageCountLabel(int pageCount) {
    return QLatin1Char('/') + QString::number(pageCount);
}

int pageCountFromLabel(const QString& label) {
    return pageCountFromText(QString(label).remove(QLatin1Char('/')));
}

int pageCountFromText(const QString& text) {
    return text.toInt(nullptr, 10);
}
