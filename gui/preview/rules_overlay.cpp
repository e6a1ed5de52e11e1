// The rule picker's text boxes: the page's text layer read, one clickable button laid over each
// box of it (moved with the page at every zoom), and a click on a box offering "Add it to the
// table".
#include <QCursor>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolTip>
#include <algorithm>

#include "box_overlay.h"
#include "page_view.h"
#include "page_zoom.h"
#include "rules.h"

void Rules::getTextPosition(QString sxml) {
    textLines = pageTextLines(sxml);
    textBoxes.clear();
    textBoxes.reserve(textLines.size());
    for (const QString& line : std::as_const(textLines)) {
        textBoxes.push_back(::getSubtextInfo(line));
    }
}

Subtext Rules::getSubtextInfo(QString sRow) {
    return ::getSubtextInfo(sRow);
}

int Rules::getpos(QString sPos, QString sRow) {
    return ::getpos(sPos, sRow);
}

QString Rules::gettext(QString sRow) {
    return ::gettext(sRow);
}

void Rules::clearOverlay() {
    for (QPushButton* button : boxButtons) {
        delete button;
    }
    boxButtons.clear();
    addButton->hide();
}

void Rules::drawlabels() {
    clearOverlay();
    boxButtons.assign(textBoxes.size(), nullptr);
    const QString styleSheet = QString::fromLatin1(kBoxButtonStyleSheet);
    for (size_t i = 0; i < textBoxes.size(); ++i) {
        if (!isPickableBox(textBoxes[i])) {
            continue;
        }
        auto* button = new QPushButton(pageView);
        button->setObjectName(QStringLiteral("textBoxButton"));
        button->setGeometry(scaledBox(textBoxes[i], zoomFactor));
        button->setFlat(true);
        button->setAutoDefault(false);
        // A box never takes the keyboard focus: a page holds hundreds of them, and the scroll
        // area would jump to whichever one got it.
        button->setFocusPolicy(Qt::NoFocus);
        button->setStyleSheet(styleSheet);
        button->show();
        connect(button, &QPushButton::clicked, this, &Rules::textmessagebox);
        boxButtons[i] = button;
    }
}

void Rules::layOutBoxes() {
    // The boxes are in the page's pixels at 150 dpi, the units of the image the view scales.
    for (size_t i = 0; i < boxButtons.size(); ++i) {
        if (boxButtons[i]) {
            boxButtons[i]->setGeometry(scaledBox(textBoxes[i], zoomFactor));
        }
    }
}

void Rules::textmessagebox() {
    auto* clicked = qobject_cast<QPushButton*>(sender());
    const auto found = std::find(boxButtons.begin(), boxButtons.end(), clicked);
    if (!clicked || found == boxButtons.end()) {
        return;
    }
    pickedBox = textBoxes[static_cast<size_t>(found - boxButtons.begin())];
    // Shown for no widget, so that it does not take the box's dotted frame as its own.
    QToolTip::showText(QCursor::pos(), boxTooltipText(pickedBox));

    addButton->setText(tr("Add it to the table"));
    addButton->setGeometry(addButtonGeometry(clicked->geometry()));
    addButton->raise();
    addButton->show();
}

void Rules::mousePressEvent(QMouseEvent* event) {
    // A press beside every box (on the page or the dialog) withdraws the offer.
    addButton->hide();
    event->accept();
}
