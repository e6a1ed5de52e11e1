#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class QPaintEvent;

// The page area of the picker: the page image (pixels of the page at 150 dpi) shown at a zoom
// factor, or a message where there is no page. It keeps only the image as the page helper made
// it and paints the part that is exposed, scaled by the factor, so that no enlarged copy of the
// page is ever held. Its size is the image's size times the factor (each side truncated), the
// size the text boxes over it are laid out for; the boxes are its children.
class PageView : public QWidget {
    Q_OBJECT

  public:
    explicit PageView(QWidget* parent = nullptr);

    // Shows the image at the current factor; the message goes.
    void setImage(const QImage& image);
    // Shows the message instead of a page; the image is released.
    void showMessage(const QString& message);
    // Changes the factor and resizes the view to the image at it.
    void setZoom(double factor);
    // Makes the view the given size while it shows a message, so that the message wraps inside
    // the visible area.
    void fitMessageTo(const QSize& area);

    double zoom() const { return factor; }
    bool hasImage() const { return !page.isNull(); }
    const QImage& image() const { return page; }
    const QString& message() const { return text; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage page;
    QString text;
    double factor = 1.0;
};
