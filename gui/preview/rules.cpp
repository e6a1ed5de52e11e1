// The rule picker's frame: construction, the page shown (made by the page helper in the
// background), page buttons and zoom.
#include "rules.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QWheelEvent>
#include <cstdlib>

#include "page_navigation.h"
#include "page_renderer.h"
#include "page_view.h"
#include "page_zoom.h"
#include "picker_geometry.h"
#include "program_folder.h"
#include "run_folder.h"
#include "ui_rules.h"

namespace {

// The output base the page helper is given; it writes the page as "text_pg_0001.png" and
// "text_pg_0001.htm" beside it, whatever page was asked for.
QString pageOutputBase() {
    return runFolderFile(QStringLiteral("text.png"));
}

// What one notch of a mouse wheel turns.
constexpr int kWheelNotch = 120;

}  // namespace

Rules::Rules(RuleExchange& ruleExchange, UserDialogs* userDialogs,
             std::unique_ptr<PickerSettings> pickerSettings, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::Rules>()),
      exchange(ruleExchange),
      dialogs(userDialogs),
      settings(std::move(pickerSettings)) {
    ui->setupUi(this);
    // A window of its own with minimize, maximize and close buttons and no context help. Set
    // before placing it, since changing the flags of a window makes it anew.
    setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);

    renderer = new PageRenderer(this);
    connect(renderer, &PageRenderer::rendered, this, &Rules::onPageRendered);
    connect(renderer, &PageRenderer::failed, this, &Rules::onPageFailed);
    buildPageView();
    ui->pushButton_save->setEnabled(false);
    setUpRuleTables();
    connectToolRow();
    setUpModeGroup();
    placeOnFirstScreen();
}

Rules::~Rules() = default;

void Rules::placeOnFirstScreen() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty()) {
        return;
    }
    const QRect available = screens.first()->availableGeometry();
    QSize wanted = settings->pickerSize();
    if (!wanted.isValid()) {
        // Room for a whole page width at 100% beside the rule tables, as far as the screen has.
        const int besidePage = minimumSizeHint().width() - ui->frame_back->minimumWidth();
        const int pageArea = kPagePixelsWide + 2 * pageScroll->frameWidth() +
                             style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                             2 * ui->frame_back->frameWidth();
        wanted = defaultPickerSize(besidePage, pageArea, available);
    }
    const QRect placed = pickerGeometryOnScreen(wanted.expandedTo(minimumSizeHint()), available);
    resize(placed.size());
    move(placed.topLeft());
}

void Rules::buildPageView() {
    pageView = new PageView(ui->frame_back);
    pageView->setObjectName(QStringLiteral("pageView"));
    pageView->setMouseTracking(true);

    addButton = new QPushButton(pageView);
    addButton->setObjectName(QStringLiteral("addButton"));
    addButton->setAutoDefault(false);
    addButton->hide();
    connect(addButton, &QPushButton::clicked, this, &Rules::addtorules);

    pageScroll = new QScrollArea(ui->frame_back);
    pageScroll->setObjectName(QStringLiteral("pageScroll"));
    // The view sizes itself: the page at the factor, or the visible area for a message.
    pageScroll->setWidgetResizable(false);
    pageScroll->setBackgroundRole(QPalette::Dark);
    pageScroll->setWidget(pageView);
    // Ctrl and the wheel over the page zoom; the area's size is followed by a message.
    pageScroll->viewport()->installEventFilter(this);

    auto* frameLayout = new QHBoxLayout(ui->frame_back);
    frameLayout->addWidget(pageScroll);
}

void Rules::connectToolRow() {
    ui->pushButton_zoomout->setToolTip(tr("Enlarge (Ctrl++)"));
    ui->pushButton_zoomin->setToolTip(tr("Shrink (Ctrl+-)"));
    connect(ui->pushButton_zoomout, &QPushButton::clicked, this, &Rules::setZoomout);
    connect(ui->pushButton_zoomin, &QPushButton::clicked, this, &Rules::setZoomin);
    connect(ui->pushButton_fitwidth, &QPushButton::clicked, this, &Rules::fitWidth);
    for (const QKeySequence& keys :
         {QKeySequence(QKeySequence::ZoomIn), QKeySequence(QStringLiteral("Ctrl+="))}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &Rules::setZoomout);
    }
    connect(new QShortcut(QKeySequence::ZoomOut, this), &QShortcut::activated, this,
            &Rules::setZoomin);
    // A typed page number is taken when it is complete (Return or leaving the field), not at
    // every digit.
    ui->spinBox_pagenumber->setKeyboardTracking(false);
    connectPageChange();
    connect(ui->spinBox_pagenumber, &QSpinBox::valueChanged, this, &Rules::setupdownVis);
    connect(ui->pushButton_save, &QPushButton::clicked, this, &Rules::setsave);
    connect(ui->pushButton_up, &QPushButton::clicked, this, &Rules::setpageup);
    connect(ui->pushButton_down, &QPushButton::clicked, this, &Rules::setpagedown);
}

void Rules::setUpModeGroup() {
    modeGroup = new QButtonGroup(this);
    modeGroup->setExclusive(true);
    modeGroup->addButton(ui->radioButton_text);
    modeGroup->addButton(ui->radioButton_image);
    ui->radioButton_text->setChecked(true);
    ui->tableWidget_rule->setEnabled(true);
    ui->tableWidget_rule_image->setEnabled(false);
    connect(ui->radioButton_text, &QRadioButton::toggled, this, &Rules::setradiotext);
    connect(ui->radioButton_image, &QRadioButton::toggled, this, &Rules::setradioimage);
}

void Rules::connectPageChange() {
    connect(ui->spinBox_pagenumber, &QSpinBox::valueChanged, this, &Rules::setPageChange,
            Qt::UniqueConnection);
}

void Rules::disconnectPageChange() {
    disconnect(ui->spinBox_pagenumber, &QSpinBox::valueChanged, this, &Rules::setPageChange);
}

int Rules::pageCount() const {
    return pageCountFromLabel(ui->label_pagenumber->text());
}

bool Rules::isRendering() const {
    return renderer->isBusy();
}

void Rules::setIniImage() {
    setinirule();
    clearOverlay();
    // Setting up the spin box must not make pages.
    disconnectPageChange();
    renderer->cancel();

    const QString file = settings->pickerFile();
    const QString countText = settings->pickerPageCount();
    const int count = pageCountFromText(countText);
    // Rows are kept only while the same file is shown.
    if (file != shownFile) {
        clearRuleTables();
    }
    shownFile = file;
    pdfFile.clear();
    lastRender = PageRenderOutcome();
    fitOnNextPage = true;

    QSpinBox* spinBox = ui->spinBox_pagenumber;
    const QFileInfo fileInfo(file);
    if (count < 1) {
        ui->label_pagenumber->setText(pageCountLabel(0));
        spinBox->setRange(0, 0);
        spinBox->setValue(0);
        for (QPushButton* button : {ui->pushButton_down, ui->pushButton_up, ui->pushButton_zoomin,
                                    ui->pushButton_zoomout, ui->pushButton_save}) {
            button->setEnabled(false);
        }
        // Never the page of an earlier opening: the area says why there is none. A listed file
        // without a page count is one the information helper could not read.
        if (file == QLatin1String(kNoPickerFile)) {
            showPageMessage(
                tr("No file is listed: add PDF files to the list, then open the "
                   "picker again."));
        } else if (fileInfo.isFile()) {
            showPageMessage(unknownPageCountText(file));
        } else {
            lastRender.problem = PageRenderProblem::FileUnreadable;
            lastRender.pdfFile = file;
            showPageMessage(pageNotShownText(lastRender));
        }
        return;
    }
    ui->label_pagenumber->setText(pageCountLabel(count));
    spinBox->setRange(1, count);
    spinBox->setValue(1);

    if (!fileInfo.isFile()) {
        for (QPushButton* button : {ui->pushButton_down, ui->pushButton_up, ui->pushButton_zoomin,
                                    ui->pushButton_zoomout}) {
            button->setEnabled(false);
        }
        lastRender.problem = PageRenderProblem::FileUnreadable;
        lastRender.pdfFile = file;
        showPageMessage(pageNotShownText(lastRender));
        return;
    }
    ui->pushButton_zoomin->setEnabled(true);
    ui->pushButton_zoomout->setEnabled(true);
    pdfFile = file;
    requestPage(1);
    setupdownVis();
    connectPageChange();
}

void Rules::requestPage(int page) {
    requestedPage = pageKeyOf(pdfFile, page);
    if (const std::optional<RenderedPage> kept = pageCache.find(requestedPage)) {
        renderer->cancel();
        displayPage(*kept);
        return;
    }
    // The page shown until now goes at once: its boxes belong to another page.
    showPageMessage(renderingPageText(page));
    generatePNGfile(pdfFile, page, pageOutputBase());
}

void Rules::generatePNGfile(QString pdffile, int page, QString pngfile) {
    renderer->start(childProgramFolder(), pdffile, page, pngfile);
}

void Rules::onPageRendered(const RenderedPage& page) {
    lastRender = PageRenderOutcome();
    pageCache.insert(requestedPage, page);
    displayPage(page);
}

void Rules::onPageFailed(const PageRenderOutcome& outcome) {
    lastRender = outcome;
    showPageMessage(pageNotShownText(outcome));
}

void Rules::displayPage(const RenderedPage& page) {
    clearOverlay();
    pageView->setImage(page.image);
    getTextPosition(page.textLayer);
    drawlabels();
    if (fitOnNextPage && isVisible()) {
        fitWidth();
    } else {
        showPage();
    }
}

void Rules::showPage() {
    pageView->setZoom(zoomFactor);
    layOutBoxes();
    addButton->hide();
    ui->label_zoom->setText(zoomPercentText(zoomFactor));
}

void Rules::showPageMessage(const QString& message) {
    clearOverlay();
    textLines.clear();
    textBoxes.clear();
    pageView->showMessage(message);
    pageView->fitMessageTo(pageScroll->viewport()->size());
}

void Rules::setPageChange() {
    if (pdfFile.isEmpty()) {
        return;
    }
    requestPage(ui->spinBox_pagenumber->value());
}

void Rules::setpageup() {
    const int count = pageCount();
    QSpinBox* spinBox = ui->spinBox_pagenumber;
    if (count != 0 && spinBox->value() < count) {
        spinBox->setValue(spinBox->value() + 1);
    }
}

void Rules::setpagedown() {
    QSpinBox* spinBox = ui->spinBox_pagenumber;
    if (pageCount() != 0 && spinBox->value() > 1) {
        spinBox->setValue(spinBox->value() - 1);
    }
}

void Rules::setupdownVis() {
    const PageButtonStates states = pageButtonStates(ui->spinBox_pagenumber->value(), pageCount());
    ui->pushButton_down->setEnabled(states.previous);
    ui->pushButton_up->setEnabled(states.next);
}

void Rules::setZoomout() {
    zoomBy(kZoomEnlargeStep);
}

void Rules::setZoomin() {
    zoomBy(kZoomShrinkStep);
}

void Rules::zoomBy(double step) {
    // The buttons and keys keep the middle of the visible area where it is.
    const QSize visible = pageScroll->viewport()->size();
    zoomTo(steppedZoom(zoomFactor, step), QPoint(visible.width() / 2, visible.height() / 2));
}

void Rules::zoomTo(double factor, const QPoint& anchor) {
    const double next = boundedZoom(factor);
    if (next == zoomFactor || !ui->pushButton_zoomout->isEnabled()) {
        return;
    }
    const QPoint scroll(pageScroll->horizontalScrollBar()->value(),
                        pageScroll->verticalScrollBar()->value());
    const double previous = zoomFactor;
    zoomFactor = next;
    // The page is painted from the image in memory at the new scale; the boxes move with it.
    showPage();
    const QPoint moved = anchoredScroll(scroll, anchor, previous, next);
    pageScroll->horizontalScrollBar()->setValue(moved.x());
    pageScroll->verticalScrollBar()->setValue(moved.y());
}

void Rules::fitWidth() {
    if (!pageView->hasImage()) {
        return;
    }
    fitOnNextPage = false;
    const QSize area = pageScroll->maximumViewportSize();
    zoomFactor =
        fitWidthZoom(pageView->image().size(), area.width(), area.height(),
                     style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, pageScroll));
    showPage();
    pageScroll->horizontalScrollBar()->setValue(0);
    pageScroll->verticalScrollBar()->setValue(0);
}

void Rules::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A page kept from an earlier opening is there before the window has its size.
    if (fitOnNextPage && pageView->hasImage()) {
        fitWidth();
    }
    pageView->fitMessageTo(pageScroll->viewport()->size());
}

void Rules::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    // Minimizing hides the window too; only a closed window keeps its size for the next start.
    if (!event->spontaneous()) {
        settings->setPickerSize(isMaximized() || isFullScreen() ? normalGeometry().size() : size());
    }
}

bool Rules::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pageScroll->viewport()) {
        if (event->type() == QEvent::Resize) {
            pageView->fitMessageTo(pageScroll->viewport()->size());
        } else if (event->type() == QEvent::Wheel) {
            auto* wheel = static_cast<QWheelEvent*>(event);
            if (wheel->modifiers().testFlag(Qt::ControlModifier)) {
                // One zoom step per notch; finer wheels (touchpads) add up to one.
                wheelZoomDelta += wheel->angleDelta().y();
                const int steps = wheelZoomDelta / kWheelNotch;
                wheelZoomDelta -= steps * kWheelNotch;
                double factor = zoomFactor;
                for (int step = 0; step < std::abs(steps); ++step) {
                    factor = steppedZoom(factor, steps > 0 ? kZoomEnlargeStep : kZoomShrinkStep);
                }
                zoomTo(factor, wheel->position().toPoint());
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Rules::wheelEvent(QWheelEvent* event) {
    // Only the wheel above the page frame (over the tool row) zooms; over the page it scrolls
    // (and zooms with Ctrl, see eventFilter).
    const QPoint inFrame = ui->frame_back->mapFromGlobal(event->globalPosition().toPoint());
    if (inFrame.y() >= 0 || !ui->pushButton_zoomout->isEnabled()) {
        event->ignore();
        return;
    }
    if (event->angleDelta().y() <= 0) {
        setZoomin();
    } else {
        setZoomout();
    }
    event->accept();
}
