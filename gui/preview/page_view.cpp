#include "page_view.h"

#include <QPaintEvent>
#include <QPainter>

#include "page_zoom.h"

namespace {

// Room between the border of the page area and a message.
constexpr int kMessageMargin = 12;

}  // namespace

PageView::PageView(QWidget* parent) : QWidget(parent) {
    // Every pixel of the view is painted (the page or the message's background), so Qt need not
    // clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PageView::setImage(const QImage& image) {
    page = image;
    text.clear();
    resize(scaledPageSize(page.size(), factor));
    update();
}

void PageView::showMessage(const QString& message) {
    page = QImage();
    text = message;
    update();
}

void PageView::setZoom(double zoomFactor) {
    factor = zoomFactor;
    if (hasImage()) {
        resize(scaledPageSize(page.size(), factor));
        update();
    }
}

void PageView::fitMessageTo(const QSize& area) {
    if (!hasImage()) {
        resize(area);
    }
}

void PageView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect exposed = event->rect();
    if (!hasImage()) {
        painter.fillRect(exposed, palette().window());
        painter.setPen(palette().windowText().color());
        painter.drawText(
            rect().adjusted(kMessageMargin, kMessageMargin, -kMessageMargin, -kMessageMargin),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
        return;
    }
    // The source pixels behind the exposed rectangle, with one pixel more on each side for the
    // interpolation at its edges; the painter scales just these into place.
    const QRect source = QRectF(exposed.x() / factor, exposed.y() / factor,
                                exposed.width() / factor, exposed.height() / factor)
                             .toAlignedRect()
                             .adjusted(-1, -1, 1, 1) &
                         page.rect();
    painter.setClipRect(exposed);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.scale(factor, factor);
    painter.drawImage(source.topLeft(), page, source);
}
