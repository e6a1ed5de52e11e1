// The rule picker's frame: construction, the page shown (made by the page helper), page buttons
// and zoom.
#include "rules.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QWheelEvent>

#include "page_navigation.h"
#include "page_zoom.h"
#include "program_folder.h"
#include "run_folder.h"
#include "ui_rules.h"

namespace {

// The output base the page helper is given; it writes the page as "text_pg_0001.png" and
// "text_pg_0001.htm" beside it, whatever page was asked for.
QString pageOutputBase() {
    return runFolderFile(QStringLiteral("text.png"));
}

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
    placeOnFirstScreen();

    network = new QNetworkAccessManager(this);
    buildPageView();
    ui->pushButton_save->setEnabled(false);
    setUpRuleTables();
    connectToolRow();
    setUpModeGroup();
}

Rules::~Rules() = default;

void Rules::placeOnFirstScreen() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty()) {
        return;
    }
    const QRect area = screens.first()->geometry();
    const QRect frame = geometry();
    move((area.left() + area.right()) / 2 - (frame.right() - frame.left()) / 2,
         (area.top() + area.bottom()) / 2 - (frame.bottom() - frame.top()) / 2);
}

void Rules::buildPageView() {
    pageLabel = new QLabel(ui->frame_back);
    pageLabel->setObjectName(QStringLiteral("pageLabel"));
    pageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pageLabel->setMouseTracking(true);
    // Only the messages of a page that cannot be shown are text.
    pageLabel->setWordWrap(true);

    addButton = new QPushButton(pageLabel);
    addButton->setObjectName(QStringLiteral("addButton"));
    addButton->hide();
    connect(addButton, &QPushButton::clicked, this, &Rules::addtorules);

    pageScroll = new QScrollArea(ui->frame_back);
    pageScroll->setObjectName(QStringLiteral("pageScroll"));
    pageScroll->setWidgetResizable(true);
    pageScroll->setBackgroundRole(QPalette::Dark);
    pageScroll->setWidget(pageLabel);

    auto* frameLayout = new QHBoxLayout(ui->frame_back);
    frameLayout->addWidget(pageScroll);
}

void Rules::connectToolRow() {
    connect(ui->pushButton_zoomout, &QPushButton::clicked, this, &Rules::setZoomout);
    connect(ui->pushButton_zoomin, &QPushButton::clicked, this, &Rules::setZoomin);
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

void Rules::setIniImage() {
    setinirule();
    clearOverlay();
    // Setting up the spin box must not make pages.
    disconnectPageChange();

    const QString file = settings->pickerFile();
    const int count = pageCountFromText(settings->pickerPageCount());
    // Rows are kept only while the same file is shown.
    if (file != shownFile) {
        clearRuleTables();
    }
    shownFile = file;
    pdfFile.clear();
    pageImageFile.clear();
    lastRender = PageRenderOutcome();

    QSpinBox* spinBox = ui->spinBox_pagenumber;
    if (count < 1) {
        ui->label_pagenumber->setText(pageCountLabel(0));
        spinBox->setRange(0, 0);
        spinBox->setValue(0);
        for (QPushButton* button : {ui->pushButton_down, ui->pushButton_up, ui->pushButton_zoomin,
                                    ui->pushButton_zoomout, ui->pushButton_save}) {
            button->setEnabled(false);
        }
        showPageMessage(QString());
        return;
    }
    ui->label_pagenumber->setText(pageCountLabel(count));
    spinBox->setRange(1, count);
    spinBox->setValue(1);

    const QFileInfo fileInfo(file);
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
    pageImageFile = pageRenderFiles(pageOutputBase()).image;
    generatePNGfile(pdfFile, 1, pageOutputBase());
    showPage();
    setupdownVis();
    connectPageChange();
}

void Rules::generatePNGfile(QString pdffile, int page, QString pngfile) {
    lastRender = renderPage(childProgramFolder(), pdffile, page, pngfile);
}

void Rules::showPage() {
    if (pageImageFile.isEmpty()) {
        showPageMessage(QString());
        return;
    }
    // Read without the pixmap cache: the file has the same name for every page.
    const QImage image = QImageReader(pageImageFile).read();
    // Scaled to exactly the factor times each side, as the boxes are, so that they stay over
    // their words at every factor; keeping the aspect ratio could lose a pixel on one side.
    const QImage scaled = image.isNull()
                              ? QImage()
                              : image.scaled(scaledPageSize(image.size(), zoomFactor),
                                             Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (scaled.isNull()) {
        showPageMessage(pageNotShownText(lastRender));
        return;
    }
    pageLabel->setPixmap(QPixmap::fromImage(scaled));
    pageLabel->adjustSize();
    addButton->hide();

    if (htmlReply) {
        htmlReply->disconnect(this);
        htmlReply->abort();
        htmlReply->deleteLater();
    }
    const QString layerFile = pageRenderFiles(pageOutputBase()).textLayer;
    htmlReply = network->get(QNetworkRequest(QUrl::fromLocalFile(layerFile)));
    connect(htmlReply, &QNetworkReply::finished, this, &Rules::gethtmlinfo);
}

void Rules::showPageMessage(const QString& message) {
    clearOverlay();
    if (htmlReply) {
        htmlReply->disconnect(this);
        htmlReply->abort();
        htmlReply->deleteLater();
        htmlReply = nullptr;
    }
    pageLabel->setText(message);
    pageLabel->adjustSize();
}

void Rules::setPageChange() {
    if (pdfFile.isEmpty()) {
        return;
    }
    pageImageFile = pageRenderFiles(pageOutputBase()).image;
    generatePNGfile(pdfFile, ui->spinBox_pagenumber->value(), pageOutputBase());
    clearOverlay();
    showPage();
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
    const double next = steppedZoom(zoomFactor, step);
    if (next == zoomFactor) {
        return;
    }
    clearOverlay();
    zoomFactor = next;
    // The page is shown again from its file, and the boxes are laid anew at the new scale.
    showPage();
}

void Rules::wheelEvent(QWheelEvent* event) {
    // Only the wheel above the page frame (over the tool row) zooms; over the page it scrolls.
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
