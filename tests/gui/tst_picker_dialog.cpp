// The rule picker as the main window opens it, with a stand-in page helper that hands out a
// prepared page image and a hand-written text layer: layout, page buttons, zoom, picking boxes,
// editing and saving rules, and taking them back into the main window.
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

#include "process.h"
#include "rule_exchange.h"
#include "rules.h"
#include "run_folder.h"
#include "scripted_dialogs.h"
#include "settings_store.h"
#include "test_environment.h"

namespace {

// Stands in for the page helper: records its arguments, copies "page.png" and "page.htm" of the
// working directory (when there) to the names the real helper writes, and ends with the code in
// "exit".
const char* const kFakeHelper =
    "#!/bin/sh\n"
    "dir=$PWD\n"
    "echo \"$@\" >> \"$dir/calls.txt\"\n"
    "base=\"${3%.png}\"\n"
    "[ -f \"$dir/page.png\" ] && cp \"$dir/page.png\" \"${base}_pg_0001.png\"\n"
    "[ -f \"$dir/page.htm\" ] && cp \"$dir/page.htm\" \"${base}_pg_0001.htm\"\n"
    "exit $(cat \"$dir/exit\" 2>/dev/null || echo 0)\n";

// Four words, then the frame lines the real helper writes after them.
const char* const kLayer =
    "<span class=\"w\" style=\"left:72;top:140;width:210;height:12\">Total</span>\n"
    "<span class=\"w\" style=\"left:100;top:40;width:200;height:20\">A&amp;B</span>\n"
    "<span class=\"w\" style=\"left:10;top:200;width:50;height:12\">a:b</span>\n"
    "<span class=\"w\" style=\"left:10;top:250;width:60;height:12\">Date:</span>\n"
    "<html><head><style>span.w{position:absolute}</style></head><body>\n"
    "</body></html>\n";

const QPoint kTotal(72, 140);
const QPoint kAmpersand(100, 40);
const QPoint kColonInside(10, 200);
const QPoint kDate(10, 250);

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList column(const QTableWidget& table, int col) {
    QStringList texts;
    for (int row = 0; row < table.rowCount(); ++row) {
        texts << (table.item(row, col) ? table.item(row, col)->text() : QString());
    }
    return texts;
}

template <typename T>
T* child(const QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (!found) {
        qWarning("no child named %s", name);
    }
    return found;
}

QPushButton* button(const QObject& parent, const char* name) {
    return child<QPushButton>(parent, name);
}

QTableWidget* table(const QObject& parent, const char* name) {
    return child<QTableWidget>(parent, name);
}

template <typename T>
T* cell(const QObject& parent, const char* tableName, int row, int col) {
    return qobject_cast<T*>(table(parent, tableName)->cellWidget(row, col));
}

QList<QPushButton*> boxButtons(const Rules& rules) {
    return rules.findChildren<QPushButton*>(QStringLiteral("textBoxButton"));
}

void waitForBoxes(const Rules& rules) {
    QVERIFY(QTest::qWaitFor([&rules] { return boxButtons(rules).size() == 4; }));
}

QPushButton* box(const Rules& rules, QPoint topLeft) {
    for (QPushButton* boxButton : boxButtons(rules)) {
        if (boxButton->pos() == topLeft) {
            return boxButton;
        }
    }
    qWarning("no box at %d,%d", topLeft.x(), topLeft.y());
    return nullptr;
}

// Clicks the box at topLeft and "Add it to the table".
void pick(const Rules& rules, QPoint topLeft) {
    QPushButton* clicked = box(rules, topLeft);
    QVERIFY(clicked);
    clicked->click();
    button(rules, "addButton")->click();
}

}  // namespace

class PickerDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void newPicker_isCentred895x539WithTextModeAndSaveDisabled();
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
    void pageWithoutImage_saysWhyAndOffersNoBoxes_data();
    void pageWithoutImage_saysWhyAndOffersNoBoxes();

  private:
    QString listPdf(int pages);
    // Opens the picker through "Settings"; `act` works on the open dialog, whose result is what
    // the modal run returns.
    void openPicker(const std::function<void(Rules&)>& act);
    QStringList helperCalls() const;

    QString dir;
    std::shared_ptr<DialogScript> script;
    std::unique_ptr<Process> window;
};

void PickerDialogTest::init() {
    dir = TestEnvironment::instance()->enterFreshWorkDir(QStringLiteral("picker"));
    TestEnvironment::writeStandInProgram(QStringLiteral("Hevrit.dll"), kFakeHelper);
    QImage page(400, 300, QImage::Format_RGB32);
    page.fill(Qt::white);
    QVERIFY(page.save(dir + QStringLiteral("/page.png")));
    writeBytes(dir + QStringLiteral("/page.htm"), kLayer);
    RuleExchange::shared() = RuleExchange();
    script = std::make_shared<DialogScript>();
    window = std::make_unique<Process>(std::make_unique<ScriptedDialogs>(script));
}

void PickerDialogTest::cleanup() {
    window.reset();
}

QString PickerDialogTest::listPdf(int pages) {
    const QString path = dir + QStringLiteral("/doc%1.pdf").arg(pages);
    writeMinimalPdf(path, pages);
    QTableWidget* files = table(*window, "inputfiletableWidget");
    files->setRowCount(1);
    files->setItem(0, 0, new QTableWidgetItem(path));
    files->setItem(0, 1, new QTableWidgetItem(QString::number(pages)));
    return path;
}

void PickerDialogTest::openPicker(const std::function<void(Rules&)>& act) {
    script->onModal = [act](QDialog& dialog) {
        act(*qobject_cast<Rules*>(&dialog));
        return dialog.result();
    };
    window->enteroption();
}

QStringList PickerDialogTest::helperCalls() const {
    const QString calls = dir + QStringLiteral("/calls.txt");
    return QFile::exists(calls)
               ? QString::fromUtf8(readBytes(calls)).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
               : QStringList();
}

void PickerDialogTest::newPicker_isCentred895x539WithTextModeAndSaveDisabled() {
    const Rules& rules = *window->findChild<Rules*>();
    QCOMPARE(rules.size(), QSize(895, 539));
    QCOMPARE(rules.windowTitle(), QStringLiteral("Settings"));
    const QRect screen = QGuiApplication::screens().first()->geometry();
    QCOMPARE(rules.pos(), QPoint((screen.left() + screen.right()) / 2 - 894 / 2,
                                 (screen.top() + screen.bottom()) / 2 - 538 / 2));
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
        for (int click = 0; click < nextClicks; ++click) {
            button(rules, "pushButton_up")->click();
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
        waitForBoxes(rules);
        for (int click = 0; click < 3; ++click) {
            button(rules, "pushButton_zoomout")->click();
        }
        QCOMPARE(rules.zoom(), 1.953125);
        waitForBoxes(rules);
        QCOMPARE(child<QLabel>(rules, "pageLabel")->pixmap().size(), QSize(781, 585));
        QVERIFY(box(rules, QPoint(140, 273)));
        QCOMPARE(box(rules, QPoint(140, 273))->size(), QSize(410, 23));
        // Clicks beyond the largest factor change nothing.
        for (int click = 0; click < 20; ++click) {
            button(rules, "pushButton_zoomout")->click();
        }
        QVERIFY(rules.zoom() <= 8.0 && rules.zoom() > 8.0 / 1.25);
    });
}

void PickerDialogTest::clickedBox_offersAddButtonBesideItUntilAPressElsewhere() {
    listPdf(1);
    openPicker([](Rules& rules) {
        waitForBoxes(rules);
        box(rules, kAmpersand)->click();
        QPushButton* addButton = button(rules, "addButton");
        QVERIFY(addButton->isVisible());
        QCOMPARE(addButton->text(), QStringLiteral("Add it to the table"));
        QCOMPARE(addButton->geometry(), QRect(300, 40, 121, 23));
        QCOMPARE(rules.lastPickedBox().text, QStringLiteral("A&B"));
        QTest::mousePress(child<QLabel>(rules, "pageLabel"), Qt::LeftButton, {}, QPoint(390, 290));
        QVERIFY(!addButton->isVisible());
    });
}

void PickerDialogTest::addingBoxes_keepsOneRowPerPositionAndNewRowOnAnotherPage() {
    listPdf(5);
    openPicker([](Rules& rules) {
        waitForBoxes(rules);
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
        waitForBoxes(rules);
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
        waitForBoxes(rules);
        for (QPoint topLeft : {kTotal, kAmpersand, kColonInside, kDate}) {
            pick(rules, topLeft);
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
        waitForBoxes(rules);
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
    QTest::addColumn<QPoint>("picked");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("image row without picture") << true << kTotal << QStringLiteral("No image")
                                               << QStringLiteral("Please specify some image");
    QTest::newRow("find text with inner colon")
        << false << kColonInside << QStringLiteral("Rule cannot be saved")
        << QStringLiteral("for \"a:b\" cannot be saved");
}

void PickerDialogTest::unsavableRow_warnsAndStaysOpenChangingNothing() {
    QFETCH(bool, imageMode);
    QFETCH(QPoint, picked);
    QFETCH(QString, text);
    listPdf(1);
    const QString ruleFile =
        runFolderFile(imageMode ? QStringLiteral("imagerule.txt") : QStringLiteral("rules.txt"));
    writeBytes(ruleFile, "untouched\r\n");
    bool stayedOpen = false;
    openPicker([&](Rules& rules) {
        waitForBoxes(rules);
        child<QRadioButton>(rules, imageMode ? "radioButton_image" : "radioButton_text")->click();
        pick(rules, picked);
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
        waitForBoxes(rules);
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
        waitForBoxes(rules);
        pick(rules, kTotal);
        button(rules, "pushButton_save")->click();
    });
    QTableWidget* textRules = table(*window, "tableWidget_textsome");
    QCOMPARE(column(*textRules, 1), QStringList{"Total"});
    int rowsOnOpening = -1;
    openPicker([&](Rules& rules) {
        rowsOnOpening = table(rules, "tableWidget_rule")->rowCount();
        waitForBoxes(rules);
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

void PickerDialogTest::pageWithoutImage_saysWhyAndOffersNoBoxes_data() {
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("exitCode");
    QTest::addColumn<QString>("reason");
    QTest::newRow("helper writes nothing") << "page.png page.htm"
                                           << "0"
                                           << "no readable page image";
    QTest::newRow("helper exits with 3") << "page.png page.htm"
                                         << "3"
                                         << "exit code 3";
    QTest::newRow("helper missing") << "Hevrit.dll"
                                    << "0"
                                    << "Hevrit.dll is missing";
    QTest::newRow("file missing") << "doc1.pdf"
                                  << "0"
                                  << "doc1.pdf cannot be read";
}

void PickerDialogTest::pageWithoutImage_saysWhyAndOffersNoBoxes() {
    QFETCH(QString, removed);
    QFETCH(QString, exitCode);
    QFETCH(QString, reason);
    listPdf(1);
    // A first opening leaves a page and its layer behind.
    openPicker([](Rules& rules) { waitForBoxes(rules); });
    for (const QString& file : removed.split(QLatin1Char(' '))) {
        // The helper lies beside the test program, the rest in the working directory.
        const QString folder =
            file == QLatin1String("Hevrit.dll") ? TestEnvironment::programDir() : dir;
        QVERIFY(QFile::remove(folder + QLatin1Char('/') + file));
    }
    writeBytes(dir + QStringLiteral("/exit"), exitCode.toLatin1());
    openPicker([&](Rules& rules) {
        const QLabel* page = child<QLabel>(rules, "pageLabel");
        QVERIFY(page->pixmap().isNull());
        QVERIFY2(page->text().startsWith(QStringLiteral("The page cannot be shown")) &&
                     page->text().contains(reason),
                 qPrintable(page->text()));
        QTest::qWait(50);
        QVERIFY(boxButtons(rules).isEmpty());
    });
}

RELETTRA_GUI_TEST_MAIN(PickerDialogTest)
#include "tst_picker_dialog.moc"
