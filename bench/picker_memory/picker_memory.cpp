// The memory the rule picker takes at a high zoom on a full page, offscreen, against the way of
// showing a page that scales a copy of the whole page to the factor (a label holding the enlarged
// pixmap in a scroll area of the same size).
// Usage:
//   picker_memory picker IN.pdf ZOOM     the picker on page 1 of IN.pdf, made by the page helper
//                                        of the working folder, zoomed to ZOOM
//   picker_memory scaled-copy IN.png ZOOM  the page image scaled whole to ZOOM in a label
// Both scroll to the middle of the page and paint what is visible, then print the resident and
// the peak memory from /proc/self/status: "<mode> zoom=Z page=WxH rss_mb=R peak_mb=P".
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "page_view.h"
#include "picker_settings.h"
#include "qt_user_dialogs.h"
#include "rule_exchange.h"
#include "rules.h"

namespace {

// The picker's settings for one file, kept in memory.
class BenchSettings : public PickerSettings {
  public:
    explicit BenchSettings(QString file) : file(std::move(file)) {}
    QString pickerFile() const override { return file; }
    QString pickerPageCount() const override { return QStringLiteral("1"); }
    QString pictureFolder() const override { return QStringLiteral("."); }
    void setPictureFolder(const QString&) override {}
    QSize pickerSize() const override { return QSize(1400, 900); }
    void setPickerSize(const QSize&) override {}

  private:
    QString file;
};

// A value of /proc/self/status in MB ("VmRSS", "VmHWM"); -1 when it cannot be read.
double statusMegabytes(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix)) {
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    return -1;
}

// Runs the event loop until `done` holds or `timeoutMs` passed; whether it holds.
template <typename Done>
bool waitUntil(Done done, int timeoutMs) {
    QEventLoop loop;
    QTimer poll;
    QTimer limit;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&]() {
        if (done()) loop.quit();
    });
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start(5);
    limit.start(timeoutMs);
    loop.exec();
    return done();
}

// Scrolls to the middle and paints the visible part, as a user looking at the page sees it.
void paintMiddle(QScrollArea& scroll) {
    for (QScrollBar* bar : {scroll.horizontalScrollBar(), scroll.verticalScrollBar()}) {
        bar->setValue((bar->minimum() + bar->maximum()) / 2);
    }
    QApplication::processEvents();
    scroll.viewport()->repaint();
    QApplication::processEvents();
}

void report(const char* mode, double zoom, const QSize& page) {
    std::printf("%s zoom=%g page=%dx%d rss_mb=%.1f peak_mb=%.1f\n", mode, zoom, page.width(),
                page.height(), statusMegabytes("VmRSS"), statusMegabytes("VmHWM"));
}

int runPicker(const QString& pdf, double zoom) {
    QtUserDialogs dialogs;
    Rules rules(RuleExchange::shared(), &dialogs, std::make_unique<BenchSettings>(pdf));
    rules.setIniImage();
    rules.show();
    PageView* view = rules.findChild<PageView*>();
    if (!view || !waitUntil([&] { return view->hasImage() && !rules.isRendering(); }, 60000)) {
        std::fprintf(stderr, "the page was not made: %s\n",
                     view ? qPrintable(view->message()) : "no page view");
        return 1;
    }
    while (rules.zoom() < zoom) {
        const double before = rules.zoom();
        rules.setZoomout();
        if (rules.zoom() == before) {
            break;
        }
    }
    paintMiddle(*rules.findChild<QScrollArea*>(QStringLiteral("pageScroll")));
    report("picker", rules.zoom(), view->image().size());
    return 0;
}

int runScaledCopy(const QString& png, double zoom) {
    const QImage page(png);
    if (page.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(png));
        return 1;
    }
    QScrollArea scroll;
    scroll.resize(1400, 900);
    auto* label = new QLabel;
    label->setPixmap(QPixmap::fromImage(
        page.scaled(page.size() * zoom, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    label->adjustSize();
    scroll.setWidget(label);
    scroll.show();
    QApplication::processEvents();
    paintMiddle(scroll);
    report("scaled-copy", zoom, page.size());
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: picker_memory picker IN.pdf ZOOM | scaled-copy IN.png ZOOM\n");
        return 2;
    }
    const double zoom = args.at(3).toDouble();
    if (args.at(1) == QLatin1String("picker")) {
        return runPicker(args.at(2), zoom);
    }
    if (args.at(1) == QLatin1String("scaled-copy")) {
        return runScaledCopy(args.at(2), zoom);
    }
    std::fprintf(stderr, "unknown mode %s\n", qPrintable(args.at(1)));
    return 2;
}
