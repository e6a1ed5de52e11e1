// The rule picker as the main window opens it, with a stand-in page helper that hands out a
// prepared page image and a hand-written text layer: layout, page buttons, zoom, picking boxes,
// editing and saving rules, the keys in its editors, pages it cannot show, and taking the rules
// back into the main window.
#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>
#include <functional>

#include "box_overlay.h"
#include "page_view.h"
#include "page_zoom.h"
#include "picker_fixture.h"
#include "process.h"
#include "rule_exchange.h"
#include "rules.h"
#include "run_folder.h"
#include "scripted_dialogs.h"
#include "settings_store.h"
#include "test_environment.h"

using namespace pickerfixture;

class PickerDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void newPicker_opensCentredWithinTheScreenWithTextModeAndSaveDisabled();
    void emptyFileList_opensWithEmptyInputAndEverythingDisabled();
    void pageButtons_followThePageShown_data();
    void pageButtons_followThePageShown();
    void zoomOut_threeClicksScalePageAndBoxesBy1_953125();
    void clickedBox_offersAddButtonBesideItUntilAPressElsewhere();
    void addingBoxes_keepsOneRowPerPositionAndNewRowOnAnotherPage();
    void deleteSelectedRules_removesRows1And2OfFour();
    void imageSave_writesBoxSizeUnlessTypedPositive_data();
    void imageSave_writesBoxSizeUnlessTypedPositive();
    void unsavableRow_warnsAndStaysOpenChangingNothing_data();
    void unsavableRow_warnsAndStaysOpenChangingNothing();
    void textSave_handsBackMoreThan200RowsAndWritesUtf8Lines();
    void reopening_keepsRowsOfSameFileOnlyAndCancelChangesNothing();
    void returnInATableEditor_keepsTheEditAndPressesNoButton();
    void pageWithoutImage_saysWhyAndShowsNoEarlierPage_data();
    void pageWithoutImage_saysWhyAndShowsNoEarlierPage();

  private:
    QString listPdf(int pages) { return harness.listPdf(pages); }
    void openPicker(const std::function<void(Rules&)>& act) { harness.openPicker(act); }
    QStringList helperCalls() const { return harness.helperCalls(); }

    PickerHarness harness;
    // Shorthands for the harness's.
    QString dir;
    DialogScript* script = nullptr;
    Process* window = nullptr;
};

void PickerDialogTest::init() {
    harness.setUp(QStringLiteral("picker"));
    dir = harness.dir;
    script = harness.script.get();
    window = harness.window.get();
}

void PickerDialogTest::cleanup() {
    harness.tearDown();
}

void PickerDialogTest::newPicker_opensCentredWithinTheScreenWithTextModeAndSaveDisabled() {
    const Rules& rules = *window->findChild<Rules*>();
    // As large as a page's width asks for, within the screen and centred on it.
    const QRect screen = QGuiApplication::screens().first()->availableGeometry();
    QVERIFY2(rules.width() >= std::min(1240, screen.width() * 9 / 10) &&
                 rules.height() >= screen.height() * 8 / 10,
             qPrintable(QStringLiteral("%1x%2").arg(rules.width()).arg(rules.height())));
    QVERIFY(rules.height() <= screen.height());
    QCOMPARE(QRect(rules.pos(), rules.size()).center(), screen.center());
    QCOMPARE(rules.windowTitle(), QStringLiteral("Settings"));
    const Qt::WindowFlags buttons =
        Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
    QCOMPARE(rules.windowFlags() & buttons, buttons);
    QVERIFY(!rules.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
    QVERIFY(child<QRadioButton>(rules, "radioButton_text")->isChecked());
    QVERIFY(table(rules, "tableWidget_rule")->isEnabled());
    QVERIFY(!table(rules, "tableWidget_rule_image")->isEnabled());
    QVERIFY(!button(rules, "pushButton_save")->isEnabled());
    for (const char* name : {"tableWidget_rule", "tableWidget_rule_image"}) {
        QCOMPARE(table(rules, name)->actions().size(), 1);
        QCOMPARE(table(rules, name)->actions().first()->text(),
                 QStringLiteral("Delete Selected Rule(s)"));
        QCOMPARE(table(rules, name)->editTriggers(), QAbstractItemView::NoEditTriggers);
    }
    const QList<std::pair<const char*, const char*>> icons = {{"pushButton_zoomout", "zoom_in.ico"},
                                                              {"pushButton_zoomin", "zoom_out.ico"},
                                                              {"pushButton_down", "up.png"},
                                                              {"pushButton_up", "downa.png"}};
    for (const auto& [name, file] : icons) {
        const QImage shown = button(rules, name)->icon().pixmap(32).toImage();
        const QImage expected =
            QIcon(QStringLiteral(":/iconoption/icons/") + QLatin1String(file)).pixmap(32).toImage();
        QVERIFY2(!shown.isNull() && shown == expected, name);
    }
}

void PickerDialogTest::emptyFileList_opensWithEmptyInputAndEverythingDisabled() {
    openPicker([](Rules& rules) {
        QCOMPARE(child<QSpinBox>(rules, "spinBox_pagenumber")->value(), 0);
        QCOMPARE(child<QSpinBox>(rules, "spinBox_pagenumber")->maximum(), 0);
        for (const char* name : {"pushButton_down", "pushButton_up", "pushButton_zoomin",
                                 "pushButton_zoomout", "pushButton_save"}) {
            QVERIFY2(!button(rules, name)->isEnabled(), name);
        }
    });
    QCOMPARE(readSetting(SettingsKeys::pickerFile), QStringLiteral("Empty input"));
    QCOMPARE(readSetting(SettingsKeys::pickerPage), QStringLiteral("0"));
    QVERIFY(helperCalls().isEmpty());
}

void PickerDialogTest::pageButtons_followThePageShown_data() {
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("nextClicks");
    QTest::addColumn<bool>("previousEnabled");
    QTest::addColumn<bool>("nextEnabled");
    QTest::newRow("one page") << 1 << 0 << false << false;
    QTest::newRow("page 1 of 5") << 5 << 0 << false << true;
    QTest::newRow("page 5 of 5") << 5 << 4 << true << false;
}

void PickerDialogTest::pageButtons_followThePageShown() {
    QFETCH(int, pages);
    QFETCH(int, nextClicks);
    const QString pdf = listPdf(pages);
    openPicker([&](Rules& rules) {
        QCOMPARE(child<QSpinBox>(rules, "spinBox_pagenumber")->minimum(), 1);
        QCOMPARE(child<QSpinBox>(rules, "spinBox_pagenumber")->maximum(), pages);
        QCOMPARE(child<QLabel>(rules, "label_pagenumber")->text(),
                 QStringLiteral("/%1").arg(pages));
        QVERIFY(waitForBoxes(rules));
        for (int click = 0; click < nextClicks; ++click) {
            button(rules, "pushButton_up")->click();
            QVERIFY(waitForBoxes(rules));
        }
        QCOMPARE(child<QSpinBox>(rules, "spinBox_pagenumber")->value(), 1 + nextClicks);
        QTEST(button(rules, "pushButton_down")->isEnabled(), "previousEnabled");
        QTEST(button(rules, "pushButton_up")->isEnabled(), "nextEnabled");
    });
    // One run per page shown, each for that single page.
    const QStringList calls = helperCalls();
    QCOMPARE(calls.size(), 1 + nextClicks);
    QCOMPARE(calls.last(), QStringLiteral("%1 -ht %2 -f %3 -l %3")
                               .arg(pdf, runFolderFile(QStringLiteral("text.png")))
                               .arg(1 + nextClicks));
}

void PickerDialogTest::zoomOut_threeClicksScalePageAndBoxesBy1_953125() {
    listPdf(1);
    openPicker([](Rules& rules) {
        QVERIFY(waitForBoxes(rules));
        const double opened = rules.zoom();
        for (int click = 0; click < 3; ++click) {
            button(rules, "pushButton_zoomout")->click();
        }
        QCOMPARE(rules.zoom(), opened * 1.953125);
        QCOMPARE(pageView(rules)->size(),
                 scaledPageSize(QSize(kPageWidth, kPageHeight), opened * 1.953125));
        QVERIFY(box(rules, kTotal));
        // Clicks beyond the largest factor stop at it.
        for (int click = 0; click < 30; ++click) {
            button(rules, "pushButton_zoomout")->click();
        }
        QCOMPARE(rules.zoom(), 8.0);
        QCOMPARE(pageView(rules)->size(), QSize(kPageWidth * 8, kPageHeight * 8));
        QCOMPARE(box(rules, kTotal)->geometry(), QRect(576, 1120, 1680, 96));
    });
}

void PickerDialogTest::clickedBox_offersAddButtonBesideItUntilAPressElsewhere() {
    listPdf(1);
    openPicker([](Rules& rules) {
        QVERIFY(waitForBoxes(rules));
        box(rules, kAmpersand)->click();
        QPushButton* addButton = button(rules, "addButton");
        QVERIFY(addButton->isVisible());
        QCOMPARE(addButton->text(), QStringLiteral("Add it to the table"));
        QCOMPARE(addButton->geometry(), addButtonGeometry(scaledBox(kAmpersand, rules.zoom())));
        QCOMPARE(rules.lastPickedBox().text, QStringLiteral("A&B"));
        // Beside every box at any factor.
        QTest::mousePress(pageView(rules), Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(!addButton->isVisible());
    });
}

void PickerDialogTest::addingBoxes_keepsOneRowPerPositionAndNewRowOnAnotherPage() {
    listPdf(5);
    openPicker([](Rules& rules) {
        QVERIFY(waitForBoxes(rules));
        pick(rules, kTotal);
        pick(rules, kTotal);
        for (const char* name : {"tableWidget_rule", "tableWidget_rule_image"}) {
            QCOMPARE(column(*table(rules, name), 0), QStringList{"P1 (72 140 210 12)"});
            QCOMPARE(column(*table(rules, name), 1), QStringList{"Total"});
            QCOMPARE(table(rules, name)->selectionModel()->selectedRows().size(), 1);
            QCOMPARE(table(rules, name)->selectionModel()->selectedRows().first().row(), 0);
        }
        const char* images = "tableWidget_rule_image";
        QCOMPARE(cell<QPushButton>(rules, images, 0, 2)->text(),
                 QStringLiteral("Open Picture File"));
        QCOMPARE(cell<QLineEdit>(rules, images, 0, 3)->placeholderText(), QStringLiteral("210"));
        QCOMPARE(cell<QLineEdit>(rules, images, 0, 4)->placeholderText(), QStringLiteral("12"));
        QVERIFY(button(rules, "pushButton_save")->isEnabled());

        button(rules, "pushButton_up")->click();
        QVERIFY(waitForBoxes(rules));
        pick(rules, kTotal);
        for (const char* name : {"tableWidget_rule", "tableWidget_rule_image"}) {
            QCOMPARE(column(*table(rules, name), 0),
                     QStringList({"P1 (72 140 210 12)", "P2 (72 140 210 12)"}));
        }
    });
}

void PickerDialogTest::deleteSelectedRules_removesRows1And2OfFour() {
    listPdf(1);
    openPicker([](Rules& rules) {
        QVERIFY(waitForBoxes(rules));
        for (const Subtext& word : {kTotal, kAmpersand, kColonInside, kDate}) {
            pick(rules, word);
        }
        for (const char* name : {"tableWidget_rule", "tableWidget_rule_image"}) {
            QTableWidget* rows = table(rules, name);
            rows->clearSelection();
            for (int row : {1, 2}) {
                rows->selectionModel()->select(
                    rows->model()->index(row, 0),
                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
            }
            rows->actions().first()->trigger();
            QCOMPARE(column(*rows, 1), QStringList({"Total", "Date:"}));
        }
    });
}

void PickerDialogTest::imageSave_writesBoxSizeUnlessTypedPositive_data() {
    QTest::addColumn<QString>("typedWidth");
    QTest::addColumn<QString>("writtenWidth");
    QTest::addColumn<int>("handedBackWidth");
    QTest::newRow("left empty") << QString() << QStringLiteral("210") << 210;
    QTest::newRow("typed 0") << QStringLiteral("0") << QStringLiteral("210") << 210;
    QTest::newRow("typed -5") << QStringLiteral("-5") << QStringLiteral("210") << -5;
    QTest::newRow("typed 050") << QStringLiteral("050") << QStringLiteral("050") << 50;
}

void PickerDialogTest::imageSave_writesBoxSizeUnlessTypedPositive() {
    QFETCH(QString, typedWidth);
    QFETCH(QString, writtenWidth);
    QFETCH(int, handedBackWidth);
    listPdf(1);
    const QString picture = dir + QStringLiteral("/pictures/logo.png");
    script->fileAnswers << picture;
    writeBytes(runFolderFile(QStringLiteral("rules.txt")), "untouched\r\n");
    openPicker([&](Rules& rules) {
        QVERIFY(waitForBoxes(rules));
        child<QRadioButton>(rules, "radioButton_image")->click();
        QVERIFY(table(rules, "tableWidget_rule_image")->isEnabled());
        QVERIFY(!table(rules, "tableWidget_rule")->isEnabled());
        pick(rules, kTotal);
        cell<QPushButton>(rules, "tableWidget_rule_image", 0, 2)->click();
        cell<QLineEdit>(rules, "tableWidget_rule_image", 0, 3)->setText(typedWidth);
        button(rules, "pushButton_save")->click();
    });
    QCOMPARE(script->captions, QStringList{"Add Image"});
    QCOMPARE(readSetting(SettingsKeys::pickerImageDir), dir + QStringLiteral("/pictures"));
    QCOMPARE(readBytes(runFolderFile(QStringLiteral("imagerule.txt"))),
             QStringLiteral("1:72:140:(%1):%2:12\r\n").arg(picture, writtenWidth).toUtf8());
    QCOMPARE(readBytes(runFolderFile(QStringLiteral("rules.txt"))), QByteArray("untouched\r\n"));

    QTableWidget* imageRules = table(*window, "tableWidget_imagesome");
    QVERIFY(!imageRules->isHidden());
    QVERIFY(table(*window, "tableWidget_textsome")->isHidden());
    const QStringList cells = {"P1 (72 140 210 12)", "Total", picture,
                               QString::number(handedBackWidth), "12"};
    QCOMPARE(imageRules->rowCount(), 1);
    for (int col = 0; col < cells.size(); ++col) {
        QCOMPARE(imageRules->item(0, col)->text(), cells.at(col));
    }
}

void PickerDialogTest::unsavableRow_warnsAndStaysOpenChangingNothing_data() {
    QTest::addColumn<bool>("imageMode");
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("image row without picture") << true << kTotal.text << QStringLiteral("No image")
                                               << QStringLiteral("Please specify some image");
    QTest::newRow("find text with inner colon")
        << false << kColonInside.text << QStringLiteral("Rule cannot be saved")
        << QStringLiteral("for \"a:b\" cannot be saved");
}

void PickerDialogTest::unsavableRow_warnsAndStaysOpenChangingNothing() {
    QFETCH(bool, imageMode);
    QFETCH(QString, picked);
    QFETCH(QString, text);
    listPdf(1);
    const QString ruleFile =
        runFolderFile(imageMode ? QStringLiteral("imagerule.txt") : QStringLiteral("rules.txt"));
    writeBytes(ruleFile, "untouched\r\n");
    bool stayedOpen = false;
    openPicker([&](Rules& rules) {
        QVERIFY(waitForBoxes(rules));
        child<QRadioButton>(rules, imageMode ? "radioButton_image" : "radioButton_text")->click();
        pick(rules, picked == kTotal.text ? kTotal : kColonInside);
        button(rules, "pushButton_save")->click();
        stayedOpen = rules.isVisible();
    });
    QVERIFY(stayedOpen);
    QTEST(script->captions.value(0), "title");
    QVERIFY2(script->filters.value(0).contains(text), qPrintable(script->filters.value(0)));
    QCOMPARE(readBytes(ruleFile), QByteArray("untouched\r\n"));
    QCOMPARE(RuleExchange::shared().resultKind, 0);
    QCOMPARE(table(*window, "tableWidget_textsome")->rowCount(), 0);
}

void PickerDialogTest::textSave_handsBackMoreThan200RowsAndWritesUtf8Lines() {
    listPdf(1);
    QTableWidget* textRules = table(*window, "tableWidget_textsome");
    textRules->setRowCount(250);
    for (int row = 0; row < 250; ++row) {
        textRules->setItem(row, 0, new QTableWidgetItem(QStringLiteral("P1 (%1 9 9 9)").arg(row)));
        textRules->setItem(row, 1, new QTableWidgetItem(QStringLiteral("w")));
    }
    // Rows are handed in only while the same file is shown as at the previous opening.
    openPicker([](Rules&) {});
    int rowsHandedIn = 0;
    openPicker([&](Rules& rules) {
        rowsHandedIn = table(rules, "tableWidget_rule")->rowCount();
        QVERIFY(waitForBoxes(rules));
        pick(rules, kAmpersand);
        pick(rules, kDate);
        cell<QLineEdit>(rules, "tableWidget_rule", 250, 2)->setText(QStringLiteral("Ünï & Co"));
        button(rules, "pushButton_save")->click();
    });
    QCOMPARE(rowsHandedIn, 250);
    const QByteArray ruleFile = readBytes(runFolderFile(QStringLiteral("rules.txt")));
    QCOMPARE(ruleFile.count("\r\n"), 252);
    QVERIFY(ruleFile.startsWith("1-0-9-9-9:w:\r\n"));
    QVERIFY(ruleFile.endsWith(
        QStringLiteral("1-100-40-200-20:A&B:Ünï & Co\r\n1-10-250-60-12:Date::\r\n").toUtf8()));
    QCOMPARE(textRules->rowCount(), 252);
    QCOMPARE(column(*textRules, 1).mid(249), QStringList({"w", "A&B", "Date:"}));
    QCOMPARE(textRules->item(250, 2)->text(), QStringLiteral("Ünï & Co"));
    QVERIFY(!textRules->isHidden());
    QVERIFY(table(*window, "tableWidget_imagesome")->isHidden());
}

void PickerDialogTest::reopening_keepsRowsOfSameFileOnlyAndCancelChangesNothing() {
    listPdf(1);
    openPicker([](Rules& rules) {
        QVERIFY(waitForBoxes(rules));
        pick(rules, kTotal);
        button(rules, "pushButton_save")->click();
    });
    QTableWidget* textRules = table(*window, "tableWidget_textsome");
    QCOMPARE(column(*textRules, 1), QStringList{"Total"});
    int rowsOnOpening = -1;
    openPicker([&](Rules& rules) {
        rowsOnOpening = table(rules, "tableWidget_rule")->rowCount();
        QVERIFY(waitForBoxes(rules));
        pick(rules, kDate);
        rules.reject();
    });
    QCOMPARE(rowsOnOpening, 1);
    QCOMPARE(column(*textRules, 1), QStringList{"Total"});
    listPdf(2);
    openPicker([&](Rules& rules) { rowsOnOpening = table(rules, "tableWidget_rule")->rowCount(); });
    QCOMPARE(rowsOnOpening, 0);
    QCOMPARE(column(*textRules, 1), QStringList{"Total"});
}

void PickerDialogTest::returnInATableEditor_keepsTheEditAndPressesNoButton() {
    listPdf(1);
    script->fileAnswers << dir + QStringLiteral("/logo.png");
    openPicker([this](Rules& rules) {
        QVERIFY(waitForBoxes(rules));
        pick(rules, kTotal);
        const double zoom = rules.zoom();
        auto* replacement = cell<QLineEdit>(rules, "tableWidget_rule", 0, 2);
        replacement->setFocus();
        QTest::keyClicks(replacement, QStringLiteral("Sum"));
        QTest::keyClick(replacement, Qt::Key_Return);
        QCOMPARE(replacement->text(), QStringLiteral("Sum"));

        // A clicked picture button does not become the one that Return presses.
        child<QRadioButton>(rules, "radioButton_image")->click();
        cell<QPushButton>(rules, "tableWidget_rule_image", 0, 2)->click();
        auto* width = cell<QLineEdit>(rules, "tableWidget_rule_image", 0, 3);
        width->setFocus();
        QTest::keyClicks(width, QStringLiteral("40"));
        QTest::keyClick(width, Qt::Key_Return);
        QTest::keyClick(width, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(width->text(), QStringLiteral("40"));

        QCOMPARE(rules.zoom(), zoom);
        QCOMPARE(script->captions, QStringList{"Add Image"});
        QVERIFY(rules.isVisible());
        QCOMPARE(rules.result(), 0);
        for (const QPushButton* pushButton : rules.findChildren<QPushButton*>()) {
            QVERIFY2(!pushButton->isDefault() && !pushButton->autoDefault(),
                     qPrintable(pushButton->objectName() + pushButton->text()));
        }
    });
}

void PickerDialogTest::pageWithoutImage_saysWhyAndShowsNoEarlierPage_data() {
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("exitCode");
    QTest::addColumn<QByteArray>("fileBytes");
    QTest::addColumn<QString>("pageCell");
    QTest::addColumn<QString>("reason");
    const QByteArray pdf;
    QTest::newRow("helper writes nothing") << "page.png page.htm"
                                           << "0" << pdf << "2"
                                           << "no readable page image";
    QTest::newRow("helper exits with 3") << "page.png page.htm"
                                         << "3" << pdf << "2"
                                         << "exit code 3";
    QTest::newRow("helper cannot read the file") << ""
                                                 << "1" << pdf << "2"
                                                 << "doc2.pdf: it is not a PDF, it is damaged";
    QTest::newRow("helper missing") << "Hevrit.dll"
                                    << "0" << pdf << "2"
                                    << "Hevrit.dll is missing";
    QTest::newRow("file missing") << "doc2.pdf"
                                  << "0" << pdf << "2"
                                  << "doc2.pdf cannot be read";
    // The page-count pass leaves the "Page" cell empty for a file it cannot read.
    QTest::newRow("not a PDF, no page count")
        << ""
        << "0" << QByteArray("PK\x03\x04 a zip file renamed") << ""
        << "doc2.pdf is not a PDF file";
    QTest::newRow("PDF without page count")
        << ""
        << "0" << QByteArray("%PDF-1.7\n damaged") << ""
        << "doc2.pdf is not known: the information helper could not read it";
}

void PickerDialogTest::pageWithoutImage_saysWhyAndShowsNoEarlierPage() {
    QFETCH(QString, removed);
    QFETCH(QString, exitCode);
    QFETCH(QByteArray, fileBytes);
    QFETCH(QString, pageCell);
    QFETCH(QString, reason);
    listPdf(1);
    // A first opening shows a page of another file.
    openPicker([](Rules& rules) { QVERIFY(waitForBoxes(rules)); });
    const QString second = listPdf(2);
    if (!fileBytes.isEmpty()) {
        writeBytes(second, fileBytes);
    }
    harness.listFile(second, pageCell);
    for (const QString& file : removed.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        // The helper lies beside the test program, the rest in the working directory.
        const QString folder =
            file == QLatin1String("Hevrit.dll") ? TestEnvironment::programDir() : dir;
        QVERIFY(QFile::remove(folder + QLatin1Char('/') + file));
    }
    writeBytes(dir + QStringLiteral("/exit"), exitCode.toLatin1());
    openPicker([&](Rules& rules) {
        const PageView* page = pageView(rules);
        QVERIFY(!page->hasImage());
        QVERIFY(QTest::qWaitFor([&] { return !rules.isRendering(); }));
        QVERIFY(!page->hasImage());
        QVERIFY2(page->message().startsWith(QStringLiteral("The page cannot be shown")) &&
                     page->message().contains(reason),
                 qPrintable(page->message()));
        QCOMPARE(child<QLabel>(rules, "label_pagenumber")->text(),
                 pageCell.isEmpty() ? QStringLiteral("/0") : QStringLiteral("/2"));
        QTest::qWait(50);
        QVERIFY(boxButtons(rules).isEmpty());
    });
}

RELETTRA_GUI_TEST_MAIN(PickerDialogTest)
#include "tst_picker_dialog.moc"
