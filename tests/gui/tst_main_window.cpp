// The main window's widget tree at start, its about box and Help, and the rule tables.
#include <QAbstractButton>
#include <QAction>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolTip>
#include <QtTest>

#include "about_dialog.h"
#include "process.h"
#include "scripted_dialogs.h"
#include "test_environment.h"

namespace {

QStringList headerTexts(const QTableWidget& table) {
    QStringList texts;
    for (int column = 0; column < table.columnCount(); ++column) {
        texts << table.horizontalHeaderItem(column)->text();
    }
    return texts;
}

void fillRows(QTableWidget& table, int rows) {
    table.setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        table.setItem(row, 0, new QTableWidgetItem(QStringLiteral("rule %1").arg(row)));
    }
}

QStringList firstColumn(const QTableWidget& table) {
    QStringList texts;
    for (int row = 0; row < table.rowCount(); ++row) {
        texts << table.item(row, 0)->text();
    }
    return texts;
}

void selectRows(QTableWidget& table, const QList<int>& rows) {
    table.clearSelection();
    for (int row : rows) {
        table.selectionModel()->select(table.model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void widgetTree_hasNamedWidgetsWithTheirTexts_data();
    void widgetTree_hasNamedWidgetsWithTheirTexts();
    void buttons_carryTheirIcons_data();
    void buttons_carryTheirIcons();
    void window_opensCentredAt770x622WithTitleIconAndDrops();
    void tables_haveTheirColumnsAndStartState();
    void start_showsPositionsTabTextTableAndEmptyPane();
    void fileList_hasItsFourContextActionsInOrder();
    void ruleTables_eachHaveOneDeleteAction();
    void aboutButton_runsTheAboutBoxModally();
    void aboutBox_isFixedSizeWithNameNoticeAndLinks();
    void aboutBox_escapeClosesIt();
    void aboutBox_linksOpenTheirAddressOnce();
    void helpButton_opensTheUserGuideBesideTheProgram();
    void helpWithoutBrowser_showsTheGuideInAWindowOfItsOwn();
    void resultTooltip_isDrawnOpaqueWithItsText();
    void outputFolderTabsAndPlace_surviveARestart();
    void removeRules_removesSelectedRows1And3OfVisiblePositionTable();
    void clearRules_emptiesOnlyTheVisiblePositionTable();
    void addRule_onTextSubTab_appendsTwoLineEdits();
    void addRule_onImageSubTab_appendsPictureButtonRow();
    void pictureButton_choiceSetsPathAndCancelKeepsText();
    void contentRemove_removesSelectedRowsOfCurrentSubTab();
    void contentClear_emptiesOnlyTheCurrentSubTab();

  private:
    template <typename T>
    T* child(const char* name) const {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        if (!widget) {
            qWarning("no widget named %s", name);
        }
        return widget;
    }

    std::shared_ptr<DialogScript> script;
    std::unique_ptr<Process> window;
};

void MainWindowTest::init() {
    TestEnvironment::instance()->enterFreshWorkDir(QStringLiteral("main-window"));
    script = std::make_shared<DialogScript>();
    window = std::make_unique<Process>(std::make_unique<ScriptedDialogs>(script));
}

void MainWindowTest::cleanup() {
    window.reset();
}

void MainWindowTest::widgetTree_hasNamedWidgetsWithTheirTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("text");
    const auto row = [](const char* name, const char* className, const char* text) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(className)
                            << QString::fromLatin1(text);
    };
    row("label", "QLabel", "File List");
    row("outputfolderlabel", "QLabel", "Output Folder");
    row("label_2", "QLabel", "Settings and Replacement");
    row("label_3", "QLabel", "Progress Status");
    row("openfileButton", "QPushButton", "Add");
    row("removeButton", "QPushButton", "Remove");
    row("removeallButton", "QPushButton", "Clear");
    row("pushButton_up", "QPushButton", "Up");
    row("pushButton_down", "QPushButton", "Down");
    row("aboutpushButton", "QPushButton", "About");
    row("pushButton_help", "QPushButton", "Help");
    row("outputButton", "QPushButton", "");
    row("pushButton_option", "QPushButton", "Settings");
    row("pushButton_removetextsome", "QPushButton", "Remove Rule(s)");
    row("pushButton", "QPushButton", "Clear Rules");
    row("pushButton_textsome_replace", "QPushButton", "Replace");
    row("pushButton_text_add", "QPushButton", "Add Rule(s)");
    row("pushButton_text_remove", "QPushButton", "Remove Rule(s)");
    row("pushButton__text_clear", "QPushButton", " Clear Rules");
    row("pushButton_textall_replace", "QPushButton", "Replace");
    row("outputfolderEdit", "QLineEdit", "");
    row("inputfiletableWidget", "QTableWidget", "");
    row("tableWidget_textsome", "QTableWidget", "");
    row("tableWidget_imagesome", "QTableWidget", "");
    row("tableWidget_textall", "QTableWidget", "");
    row("tableWidget_imageall", "QTableWidget", "");
    row("tabWidget_replaceparent", "QTabWidget", "");
    row("tabWidget_replacechild", "QTabWidget", "");
    row("frame", "QFrame", "");
    row("textEdit_process", "QTextEdit", "");
}

void MainWindowTest::widgetTree_hasNamedWidgetsWithTheirTexts() {
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, text);
    QWidget* widget = window->findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    QVERIFY(widget->inherits(className.toLatin1().constData()));
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        QCOMPARE(label->text(), text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QCOMPARE(button->text(), text);
    }
}

void MainWindowTest::buttons_carryTheirIcons_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("iconSide");
    for (const char* name :
         {"openfileButton", "removeButton", "removeallButton", "pushButton_up", "pushButton_down",
          "aboutpushButton", "pushButton_help", "pushButton_option", "pushButton_removetextsome",
          "pushButton", "pushButton_textsome_replace", "pushButton_text_add",
          "pushButton_text_remove", "pushButton__text_clear", "pushButton_textall_replace"}) {
        QTest::newRow(name) << QString::fromLatin1(name) << 32;
    }
    QTest::newRow("outputButton") << QStringLiteral("outputButton") << 28;
}

void MainWindowTest::buttons_carryTheirIcons() {
    QFETCH(QString, name);
    QFETCH(int, iconSide);
    auto* button = window->findChild<QPushButton*>(name);
    QVERIFY(button);
    QVERIFY(!button->icon().isNull());
    QVERIFY(button->isFlat());
    QCOMPARE(button->iconSize(), QSize(iconSide, iconSide));
    if (button->parentWidget()->objectName().startsWith(QLatin1String("tab"))) {
        QCOMPARE(button->styleSheet(), QStringLiteral("Text-align:left"));
        QCOMPARE(button->geometry().width(), 131);
        QCOMPARE(button->geometry().height(), 32);
    } else if (name != QLatin1String("outputButton")) {
        QCOMPARE(button->minimumWidth(), 83);
        QCOMPARE(button->maximumWidth(), 83);
    }
}

void MainWindowTest::window_opensCentredAt770x622WithTitleIconAndDrops() {
    QCOMPARE(window->objectName(), QStringLiteral("process"));
    QCOMPARE(window->size(), QSize(770, 622));
    QCOMPARE(window->windowTitle(), QStringLiteral("Relettra"));
    QVERIFY(!window->windowIcon().isNull());
    QVERIFY(window->acceptDrops());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(window->pos().x(), (screen.left() + screen.right()) / 2 - (770 - 1) / 2);
    QCOMPARE(window->pos().y(), (screen.top() + screen.bottom()) / 2 - (622 - 1) / 2);
    const QBrush background = window->palette().brush(QPalette::Window);
    QCOMPARE(background.texture().size(), QSize(770, 622));
}

void MainWindowTest::tables_haveTheirColumnsAndStartState() {
    auto* fileList = child<QTableWidget>("inputfiletableWidget");
    QCOMPARE(headerTexts(*fileList), QStringList({"PDF File", "Page", "File Size", "Result"}));
    QVERIFY(fileList->isSortingEnabled());
    QCOMPARE(fileList->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(fileList->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(fileList->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(fileList->horizontalHeader()->defaultSectionSize(), 150);
    QCOMPARE(fileList->horizontalHeader()->minimumSectionSize(), 70);
    // The path takes the room the other columns, sized to their contents, leave.
    QCOMPARE(fileList->horizontalHeader()->sectionResizeMode(0), QHeaderView::Stretch);
    QCOMPARE(fileList->horizontalHeader()->sectionResizeMode(3), QHeaderView::ResizeToContents);
    QCOMPARE(fileList->verticalHeader()->defaultSectionSize(), 18);
    QCOMPARE(fileList->rowCount(), 0);

    auto* textsome = child<QTableWidget>("tableWidget_textsome");
    auto* imagesome = child<QTableWidget>("tableWidget_imagesome");
    auto* textall = child<QTableWidget>("tableWidget_textall");
    auto* imageall = child<QTableWidget>("tableWidget_imageall");
    QCOMPARE(headerTexts(*textsome), QStringList({"Position", "Find What", "Replace with"}));
    QCOMPARE(headerTexts(*imagesome),
             QStringList({"Position", "Find What", "Replace with", "Width", "Height"}));
    QCOMPARE(headerTexts(*textall), QStringList({"Find What", "Replace with"}));
    QCOMPARE(headerTexts(*imageall),
             QStringList({"Find What", "Replace with", "Image Width", "Image Height"}));
    QCOMPARE(textsome->geometry(), QRect(0, 0, 581, 161));
    QCOMPARE(imagesome->geometry(), QRect(0, 0, 581, 161));
    QCOMPARE(textall->geometry(), QRect(0, 0, 568, 127));
    QCOMPARE(imageall->geometry(), QRect(0, -1, 568, 127));
    for (QTableWidget* table : {textsome, imagesome, textall, imageall}) {
        QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(table->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(table->verticalHeader()->defaultSectionSize(), 25);
    }
    QCOMPARE(imageall->horizontalHeader()->sectionSize(0), 100);
    QCOMPARE(imageall->horizontalHeader()->sectionResizeMode(1), QHeaderView::Stretch);
    for (int column : {2, 3}) {
        const QString header = imageall->horizontalHeaderItem(column)->text();
        QVERIFY2(imageall->horizontalHeader()->sectionSize(column) >
                     imageall->fontMetrics().horizontalAdvance(header),
                 qPrintable(header + " is clipped"));
    }
}

void MainWindowTest::start_showsPositionsTabTextTableAndEmptyPane() {
    auto* parentTabs = child<QTabWidget>("tabWidget_replaceparent");
    auto* childTabs = child<QTabWidget>("tabWidget_replacechild");
    QCOMPARE(parentTabs->currentIndex(), 0);
    QCOMPARE(parentTabs->tabText(0), QStringLiteral("According to Positions"));
    QCOMPARE(parentTabs->tabText(1), QStringLiteral("According to Content"));
    QCOMPARE(childTabs->currentIndex(), 0);
    QCOMPARE(childTabs->tabText(0), QStringLiteral("Replace with text "));
    QCOMPARE(childTabs->tabText(1), QStringLiteral("Replace with Images"));
    QCOMPARE(parentTabs->minimumSize(), QSize(750, 193));
    QCOMPARE(parentTabs->maximumHeight(), 193);

    QWidget* positionsTab = child<QWidget>("tab");
    QVERIFY(child<QTableWidget>("tableWidget_textsome")->isVisibleTo(positionsTab));
    QVERIFY(!child<QTableWidget>("tableWidget_imagesome")->isVisibleTo(positionsTab));

    auto* pane = child<QTextEdit>("textEdit_process");
    QVERIFY(pane->isReadOnly());
    QVERIFY(pane->toPlainText().isEmpty());
    // The pane grows with the window.
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const int paneHeight = pane->height();
    window->resize(770, 900);
    QTRY_VERIFY(pane->height() > paneHeight + 40);
    QVERIFY(child<QLineEdit>("outputfolderEdit")->text().isEmpty());
    for (const char* name : {"openfileButton", "removeButton", "removeallButton", "pushButton_up",
                             "pushButton_down", "pushButton_option"}) {
        QVERIFY2(child<QPushButton>(name)->isEnabled(), name);
    }
}

void MainWindowTest::fileList_hasItsFourContextActionsInOrder() {
    auto* fileList = child<QTableWidget>("inputfiletableWidget");
    QCOMPARE(fileList->contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList texts;
    for (const QAction* action : fileList->actions()) {
        texts << action->text();
    }
    QCOMPARE(texts, QStringList({"Add File(s)", "View PDF File", "Delete Selected Item(s)",
                                 "Delete All Item(s)"}));
}

void MainWindowTest::ruleTables_eachHaveOneDeleteAction() {
    for (const char* name : {"tableWidget_textsome", "tableWidget_imagesome", "tableWidget_textall",
                             "tableWidget_imageall"}) {
        auto* table = child<QTableWidget>(name);
        QCOMPARE(table->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(table->actions().size(), 1);
        QCOMPARE(table->actions().first()->text(), QStringLiteral("Delete Selected Rule(s)"));
    }
}

void MainWindowTest::aboutButton_runsTheAboutBoxModally() {
    child<QPushButton>("aboutpushButton")->click();
    QCOMPARE(script->modalRuns, 1);
    QVERIFY(script->openedUrls.isEmpty());
}

void MainWindowTest::aboutBox_isFixedSizeWithNameNoticeAndLinks() {
    ScriptedDialogs dialogs(script);
    AboutDialog about(&dialogs);
    QCOMPARE(about.objectName(), QStringLiteral("AboutDialog"));
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    QVERIFY(!about.windowIcon().isNull());
    QCOMPARE(about.size(), QSize(320, 137));
    QCOMPARE(about.minimumSize(), QSize(320, 137));
    QCOMPARE(about.maximumSize(), QSize(320, 137));
    QCOMPARE(about.findChild<QLabel*>("label_4")->text(), QStringLiteral("Relettra 2.1"));
    const QString notice = about.findChild<QLabel*>("label_3")->text();
    QVERIFY(!notice.isEmpty());
    QVERIFY(!notice.contains(QLatin1Char('\n')));
    QCOMPARE(about.findChild<QLabel*>("label_homepage")->text(),
             QStringLiteral("<a href=\"https://relettra.example.org/\"> "
                            "https://relettra.example.org/</a>"));
    QCOMPARE(about.findChild<QLabel*>("label_mail")->text(),
             QStringLiteral("<a href=\"mailto:support@relettra.example.org\"> "
                            "support@relettra.example.org</a>"));
}

void MainWindowTest::aboutBox_escapeClosesIt() {
    ScriptedDialogs dialogs(script);
    AboutDialog about(&dialogs);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::keyClick(&about, Qt::Key_Escape);
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Rejected));
}

void MainWindowTest::aboutBox_linksOpenTheirAddressOnce() {
    ScriptedDialogs dialogs(script);
    AboutDialog about(&dialogs);
    emit about.findChild<QLabel*>("label_homepage")->linkActivated(AboutDialog::homePageAddress());
    emit about.findChild<QLabel*>("label_mail")->linkActivated(QStringLiteral("ignored"));
    QCOMPARE(script->openedUrls,
             QList<QUrl>({QUrl(QStringLiteral("https://relettra.example.org/")),
                          QUrl(QStringLiteral("mailto:support@relettra.example.org"))}));
}

void MainWindowTest::helpWithoutBrowser_showsTheGuideInAWindowOfItsOwn() {
    const QString guide = QCoreApplication::applicationDirPath() + "/user-guide.html";
    QFile file(guide);
    const bool made = !file.exists();
    if (made) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html><head><title>Guide</title></head><body>How to</body></html>");
        file.close();
    }
    script->urlsOpen = false;
    child<QPushButton>("pushButton_help")->click();
    auto* browser = window->findChild<QTextBrowser*>("userGuideBrowser");
    QVERIFY(browser);
    QVERIFY(browser->isVisible());
    QVERIFY(!browser->toPlainText().isEmpty());
    if (made) {
        QFile::remove(guide);
    }
}

void MainWindowTest::resultTooltip_isDrawnOpaqueWithItsText() {
    // A tooltip takes the style sheet of the widget it is shown for; a transparent background
    // there is drawn black where no compositor blends it.
    auto* fileList = child<QTableWidget>("inputfiletableWidget");
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QToolTip::showText(fileList->mapToGlobal(QPoint(20, 20)), "3 rules in the page's font",
                       fileList->viewport());
    QWidget* tip = nullptr;
    QTRY_VERIFY((tip = [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->inherits("QTipLabel") && widget->isVisible()) {
                return widget;
            }
        }
        return static_cast<QWidget*>(nullptr);
    }()));
    const QImage image = tip->grab().toImage();
    const QColor background = image.pixelColor(2, image.height() / 2);
    QCOMPARE(background.alpha(), 255);
    QVERIFY2(background.lightness() > 200, qPrintable(background.name()));
    QToolTip::hideText();
}

void MainWindowTest::outputFolderTabsAndPlace_surviveARestart() {
    const QString folder = TestEnvironment::instance()->root();
    child<QLineEdit>("outputfolderEdit")->setText(folder);
    child<QTabWidget>("tabWidget_replaceparent")->setCurrentIndex(1);
    child<QTabWidget>("tabWidget_replacechild")->setCurrentIndex(1);
    window->show();
    window->resize(900, 700);
    window->close();
    window = std::make_unique<Process>(std::make_unique<ScriptedDialogs>(script));
    QCOMPARE(child<QLineEdit>("outputfolderEdit")->text(), folder);
    QCOMPARE(child<QTabWidget>("tabWidget_replaceparent")->currentIndex(), 1);
    QCOMPARE(child<QTabWidget>("tabWidget_replacechild")->currentIndex(), 1);
    QCOMPARE(window->size(), QSize(900, 700));
}

void MainWindowTest::helpButton_opensTheUserGuideBesideTheProgram() {
    child<QPushButton>("pushButton_help")->click();
    QCOMPARE(script->openedUrls.size(), 1);
    QCOMPARE(script->openedUrls.first(),
             QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/user-guide.html"));
    QCOMPARE(script->modalRuns, 0);
}

void MainWindowTest::removeRules_removesSelectedRows1And3OfVisiblePositionTable() {
    auto* table = child<QTableWidget>("tableWidget_textsome");
    fillRows(*table, 5);
    selectRows(*table, {1, 3});
    child<QPushButton>("pushButton_removetextsome")->click();
    QCOMPARE(firstColumn(*table), QStringList({"rule 0", "rule 2", "rule 4"}));
}

void MainWindowTest::clearRules_emptiesOnlyTheVisiblePositionTable() {
    auto* textsome = child<QTableWidget>("tableWidget_textsome");
    auto* imagesome = child<QTableWidget>("tableWidget_imagesome");
    fillRows(*textsome, 2);
    fillRows(*imagesome, 3);
    child<QPushButton>("pushButton")->click();
    QCOMPARE(textsome->rowCount(), 0);
    QCOMPARE(imagesome->rowCount(), 3);

    // With the image table shown instead, the delete action works on it.
    textsome->hide();
    imagesome->show();
    fillRows(*textsome, 2);
    selectRows(*imagesome, {0});
    imagesome->actions().first()->trigger();
    QCOMPARE(firstColumn(*imagesome), QStringList({"rule 1", "rule 2"}));
    QCOMPARE(textsome->rowCount(), 2);
}

void MainWindowTest::addRule_onTextSubTab_appendsTwoLineEdits() {
    auto* table = child<QTableWidget>("tableWidget_textall");
    child<QPushButton>("pushButton_text_add")->click();
    child<QPushButton>("pushButton_text_add")->click();
    QCOMPARE(table->rowCount(), 2);
    for (int column = 0; column < 2; ++column) {
        auto* edit = qobject_cast<QLineEdit*>(table->cellWidget(1, column));
        QVERIFY(edit);
        QVERIFY(edit->text().isEmpty());
    }
    QCOMPARE(child<QTableWidget>("tableWidget_imageall")->rowCount(), 0);
}

void MainWindowTest::addRule_onImageSubTab_appendsPictureButtonRow() {
    child<QTabWidget>("tabWidget_replacechild")->setCurrentIndex(1);
    auto* table = child<QTableWidget>("tableWidget_imageall");
    child<QPushButton>("pushButton_text_add")->click();
    QCOMPARE(table->rowCount(), 1);
    QVERIFY(qobject_cast<QLineEdit*>(table->cellWidget(0, 0)));
    auto* button = qobject_cast<QPushButton*>(table->cellWidget(0, 1));
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("Open Picture File"));
    QVERIFY(qobject_cast<QLineEdit*>(table->cellWidget(0, 2)));
    QVERIFY(qobject_cast<QLineEdit*>(table->cellWidget(0, 3)));
    QCOMPARE(child<QTableWidget>("tableWidget_textall")->rowCount(), 0);
}

void MainWindowTest::pictureButton_choiceSetsPathAndCancelKeepsText() {
    child<QTabWidget>("tabWidget_replacechild")->setCurrentIndex(1);
    auto* table = child<QTableWidget>("tableWidget_imageall");
    child<QPushButton>("pushButton_text_add")->click();
    child<QPushButton>("pushButton_text_add")->click();
    auto* first = qobject_cast<QPushButton*>(table->cellWidget(0, 1));
    auto* second = qobject_cast<QPushButton*>(table->cellWidget(1, 1));

    script->fileAnswers << QString();  // cancelled
    second->click();
    QCOMPARE(second->text(), QStringLiteral("Open Picture File"));
    QCOMPARE(script->captions.last(), QStringLiteral("Add Image"));
    QCOMPARE(script->startDirs.last(), QStringLiteral("."));

    const QString image = QDir::currentPath() + QStringLiteral("/pictures/stamp.png");
    script->fileAnswers << image;
    second->click();
    QCOMPARE(second->text(), image);
    QCOMPARE(first->text(), QStringLiteral("Open Picture File"));

    // The next choice starts in the folder of the last picture.
    script->fileAnswers << QString();
    first->click();
    QCOMPARE(script->startDirs.last(), QDir::currentPath() + QStringLiteral("/pictures"));
}

void MainWindowTest::contentRemove_removesSelectedRowsOfCurrentSubTab() {
    auto* table = child<QTableWidget>("tableWidget_textall");
    for (int i = 0; i < 5; ++i) {
        child<QPushButton>("pushButton_text_add")->click();
        qobject_cast<QLineEdit*>(table->cellWidget(i, 0))->setText(QString::number(i));
    }
    selectRows(*table, {1, 3});
    child<QPushButton>("pushButton_text_remove")->click();
    QStringList left;
    for (int row = 0; row < table->rowCount(); ++row) {
        left << qobject_cast<QLineEdit*>(table->cellWidget(row, 0))->text();
    }
    QCOMPARE(left, QStringList({"0", "2", "4"}));
}

void MainWindowTest::contentClear_emptiesOnlyTheCurrentSubTab() {
    auto* tabs = child<QTabWidget>("tabWidget_replacechild");
    child<QPushButton>("pushButton_text_add")->click();
    child<QPushButton>("pushButton_text_add")->click();
    tabs->setCurrentIndex(1);
    child<QPushButton>("pushButton_text_add")->click();
    child<QPushButton>("pushButton__text_clear")->click();
    QCOMPARE(child<QTableWidget>("tableWidget_imageall")->rowCount(), 0);
    QCOMPARE(child<QTableWidget>("tableWidget_textall")->rowCount(), 2);
}

RELETTRA_GUI_TEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
