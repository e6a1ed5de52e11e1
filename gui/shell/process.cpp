#include "process.h"

#include <QAction>
#include <QCloseEvent>
#include <QDebug>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QTextBrowser>
#include <QTimer>
#include <algorithm>

#include "batch_runner.h"
#include "program_folder.h"
#include "qt_user_dialogs.h"
#include "settings_store.h"
#include "ui_process.h"

namespace {

std::unique_ptr<UserDialogs> orDefaultDialogs(std::unique_ptr<UserDialogs> dialogs) {
    if (dialogs) {
        return dialogs;
    }
    return std::make_unique<QtUserDialogs>();
}

// The file list's own look: a thin frame on the background of the window. The rule names the
// table, so that it does not reach the tooltips of the list's cells, which would be drawn
// transparent (black without a compositor); the tooltips get a look of their own.
const char* const kFileListStyleSheet =
    "QTableWidget {background-color:transparent;border:1px solid #6c6c6c;border-radius: 2px;}"
    "QToolTip {background-color:#ffffe1;color:black;border:1px solid #767676;padding:2px;}";
const char* const kFileListHorizontalHeaderStyle =
    "QHeaderView::section {background-color:CornflowerBlue;color: black;padding-left: "
    "0px;border: 0px solid #6c6c6c;}";
const char* const kFileListVerticalHeaderStyle =
    "QHeaderView::section {background-color:GhostWhite;color: black;padding-left: 2px;border: "
    "0px solid #6c6c6c;}";

}  // namespace

Process::Process(std::unique_ptr<UserDialogs> userDialogs)
    : QWidget(nullptr),
      dialogs(orDefaultDialogs(std::move(userDialogs))),
      ui(std::make_unique<Ui::Process>()),
      aboutDialog(dialogs.get()) {
    // The form leaves the second page of each tab widget current and connects the on_..._clicked
    // slots by name.
    ui->setupUi(this);

    setGeometry(0, 0, width(), height());
    centreOnPrimaryScreen();

    // The list keeps the order in which files were added until the user sorts it by a header;
    // without an indicator, filling a cell never moves a row.
    ui->inputfiletableWidget->horizontalHeader()->setSortIndicatorClearable(true);
    ui->inputfiletableWidget->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);

    makeConnections();

    QPalette editPalette(Qt::white);
    ui->outputfolderEdit->setPalette(editPalette);

    setabout();
    previewTimer = new QTimer(this);
    connect(previewTimer, &QTimer::timeout, this, &Process::dopreview);

    setUpFileListLook();
    setUpRuleTableMenus();
    paintBackground();
    setAcceptDrops(true);
    ui->textEdit_process->clear();
    createBatchRunners();
    createPicker();
    restoreLook();
    connectLookSaving();
}

Process::~Process() {
    stopBatchQuietly();
    stopPageCountQuietly();
}

void Process::centreOnPrimaryScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    const QRect area = screen->geometry();
    const int left = (area.left() + area.right()) / 2 - (width() - 1) / 2;
    const int top = (area.top() + area.bottom()) / 2 - (height() - 1) / 2;
    move(left, top);
}

void Process::makeConnections() {
    Ui::Process& form = *ui;
    QTableWidget* fileList = form.inputfiletableWidget;

    connect(form.pushButton_option, &QPushButton::clicked, this, &Process::enteroption);
    connect(form.openfileButton, &QPushButton::clicked, this, &Process::setopenfile);
    connect(fileList, &QTableWidget::itemDoubleClicked, this, &Process::setopenselected);
    connect(form.removeButton, &QPushButton::clicked, this, &Process::setremove);
    connect(form.removeallButton, &QPushButton::clicked, this, &Process::setremoveall);
    connect(fileList, &QTableWidget::itemClicked, this, &Process::setpreview);
    connectSelectionHook();
    connect(form.outputButton, &QPushButton::clicked, this, &Process::setoutputfile);

    for (QTableWidget* table : {fileList, form.tableWidget_textsome, form.tableWidget_imagesome,
                                form.tableWidget_textall, form.tableWidget_imageall}) {
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    form.tableWidget_textsome->show();
    form.tableWidget_imagesome->hide();
    form.tabWidget_replaceparent->setCurrentIndex(0);
    form.tabWidget_replacechild->setCurrentIndex(0);

    // The image path takes the room the find text, width and height leave; those are as wide as
    // their headers.
    QHeaderView* imageHeader = form.tableWidget_imageall->horizontalHeader();
    imageHeader->resizeSection(0, 100);
    imageHeader->setSectionResizeMode(1, QHeaderView::Stretch);
    imageHeader->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    imageHeader->setSectionResizeMode(3, QHeaderView::ResizeToContents);

    connect(form.aboutpushButton, &QPushButton::clicked, this, &Process::setabout1);
    connect(form.pushButton_up, &QPushButton::clicked, this, &Process::setrowup);
    connect(form.pushButton_down, &QPushButton::clicked, this, &Process::setrowdown);
}

void Process::setUpFileListLook() {
    QTableWidget* fileList = ui->inputfiletableWidget;
    fileList->setStyleSheet(QString::fromLatin1(kFileListStyleSheet));
    fileList->horizontalHeader()->setStyleSheet(
        QString::fromLatin1(kFileListHorizontalHeaderStyle));
    fileList->verticalHeader()->setStyleSheet(QString::fromLatin1(kFileListVerticalHeaderStyle));
    fileList->setContextMenuPolicy(Qt::ActionsContextMenu);
    // A path too long for its column keeps its end, the file's name, in sight (on one line: a
    // wrapped path would show its first folders instead).
    fileList->setWordWrap(false);
    fileList->setTextElideMode(Qt::ElideLeft);
    // The path takes the room the page count, size and result leave, which are as wide as their
    // contents.
    QHeaderView* header = fileList->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < fileList->columnCount(); ++column) {
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }

    actionAddFiles = new QAction(tr("Add File(s)"), fileList);
    actionViewPdf = new QAction(tr("View PDF File"), fileList);
    actionDeleteSelectedItems = new QAction(tr("Delete Selected Item(s)"), fileList);
    actionDeleteAllItems = new QAction(tr("Delete All Item(s)"), fileList);
    fileList->addActions(
        {actionAddFiles, actionViewPdf, actionDeleteSelectedItems, actionDeleteAllItems});
    connect(actionAddFiles, &QAction::triggered, this, &Process::setopenfile);
    connect(actionViewPdf, &QAction::triggered, this, &Process::setopenselected);
    connect(actionDeleteSelectedItems, &QAction::triggered, this, &Process::setremove);
    connect(actionDeleteAllItems, &QAction::triggered, this, &Process::setremoveall);
}

void Process::setUpRuleTableMenus() {
    const auto addDeleteAction = [this](QTableWidget* table, void (Process::*slot)()) {
        table->setContextMenuPolicy(Qt::ActionsContextMenu);
        auto* action = new QAction(tr("Delete Selected Rule(s)"), table);
        table->addAction(action);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    actionDeleteTextsomeRules =
        addDeleteAction(ui->tableWidget_textsome, &Process::on_pushButton_removetextsome_clicked);
    actionDeleteImagesomeRules =
        addDeleteAction(ui->tableWidget_imagesome, &Process::on_pushButton_removetextsome_clicked);
    actionDeleteTextallRules =
        addDeleteAction(ui->tableWidget_textall, &Process::on_pushButton_text_remove_clicked);
    actionDeleteImageallRules =
        addDeleteAction(ui->tableWidget_imageall, &Process::on_pushButton_text_remove_clicked);
}

void Process::paintBackground() {
    QPalette windowPalette = palette();
    const QPixmap background(QStringLiteral(":/iconoption/icons/stock-ved.jpg"));
    windowPalette.setBrush(QPalette::Window, QBrush(background.scaled(size(), Qt::IgnoreAspectRatio,
                                                                      Qt::SmoothTransformation)));
    setPalette(windowPalette);
    setAutoFillBackground(true);
}

void Process::setabout() {
    ui->aboutpushButton->setIcon(QIcon(QStringLiteral(":/iconoption/icons/about.png")));
    ui->aboutpushButton->setText(tr("About"));
    setWindowTitle(tr("Relettra"));
}

void Process::setabout1() {
    dialogs->runModal(aboutDialog);
}

void Process::on_pushButton_help_clicked() {
    const QString guide = userGuideFile();
    if (!dialogs->openUrl(QUrl::fromLocalFile(guide))) {
        showUserGuideHere(guide);
    }
}

void Process::showUserGuideHere(const QString& guide) {
    if (!guideWindow) {
        guideWindow = new QTextBrowser(this);
        guideWindow->setWindowFlags(Qt::Window);
        guideWindow->setObjectName(QStringLiteral("userGuideBrowser"));
        guideWindow->setOpenExternalLinks(true);
        guideWindow->resize(760, 640);
    }
    guideWindow->setSource(QUrl::fromLocalFile(guide));
    guideWindow->setWindowTitle(guideWindow->documentTitle().isEmpty()
                                    ? tr("Relettra user guide")
                                    : guideWindow->documentTitle());
    guideWindow->show();
    guideWindow->raise();
    guideWindow->activateWindow();
}

void Process::restoreLook() {
    const QString geometry = readSetting(SettingsKeys::windowGeometry, QString());
    if (!geometry.isEmpty()) {
        restoreGeometry(QByteArray::fromBase64(geometry.toLatin1()));
    }
    const QString splitter = readSetting(SettingsKeys::windowSplitter, QString());
    if (!splitter.isEmpty()) {
        ui->splitter_pane->restoreState(QByteArray::fromBase64(splitter.toLatin1()));
    } else {
        // The pane starts as small as it always was; the user can drag it larger. The splitter
        // keeps these proportions as the window grows.
        const int pane = ui->widget_progress->minimumSizeHint().height();
        ui->splitter_pane->setSizes({std::max(1, height() - pane), pane});
    }

    ui->outputfolderEdit->setText(readSetting(SettingsKeys::outputFolder, QString()));
    ui->tabWidget_replaceparent->setCurrentIndex(
        readSetting(SettingsKeys::positionsOrContentTab, QStringLiteral("0")).toInt());
    ui->tabWidget_replacechild->setCurrentIndex(
        readSetting(SettingsKeys::contentKindTab, QStringLiteral("0")).toInt());
}

void Process::connectLookSaving() {
    connect(ui->outputfolderEdit, &QLineEdit::textChanged, this,
            [](const QString& folder) { writeSetting(SettingsKeys::outputFolder, folder); });
    connect(ui->tabWidget_replaceparent, &QTabWidget::currentChanged, this, [](int index) {
        writeSetting(SettingsKeys::positionsOrContentTab, QString::number(index));
    });
    connect(ui->tabWidget_replacechild, &QTabWidget::currentChanged, this,
            [](int index) { writeSetting(SettingsKeys::contentKindTab, QString::number(index)); });
}

void Process::closeEvent(QCloseEvent* event) {
    if (batchRunner && batchRunner->isRunning() &&
        !dialogs->question(this, tr("Relettra"), tr("A batch is running. Stop it and quit?"))) {
        event->ignore();
        return;
    }
    writeSetting(SettingsKeys::windowGeometry, QString::fromLatin1(saveGeometry().toBase64()));
    writeSetting(SettingsKeys::windowSplitter,
                 QString::fromLatin1(ui->splitter_pane->saveState().toBase64()));
    stopBatchQuietly();
    event->accept();
}

void Process::keyPressEvent(QKeyEvent* event) {
    // Keys that reach the window itself have no meaning here; the child widgets keep theirs.
    event->accept();
}
