// The position batch with the real engine and information helper: rule files from the visible
// position table, one engine run per file, results, output names and the checks before a file.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include "batch_test_window.h"
#include "test_environment.h"

namespace {

const QStringList kPrograms{"Dossaly.dll", "Tewkrun.dll"};
const QString kImage = QStringLiteral(RELETTRA_TEST_DATA_DIR "/images/png_rgb.png");

}  // namespace

class PositionBatchTest : public QObject {
    Q_OBJECT

  private slots:
    void threeFiles_eachOutputCarriesTheRulesAndSucceeds_data();
    void threeFiles_eachOutputCarriesTheRulesAndSucceeds();
    void engineReport_givesSummaryAndTooltip_singleColonRuleSkipped();
    void missingInputOrFolder_showsBoxAndStartsNothing_data();
    void missingInputOrFolder_showsBoxAndStartsNothing();
    void inputsOfOneBaseName_getFirstFreeNames();
    void missingEngine_failsEachFileAndBatchFinishes();
    void closingWindowDuringBatch_stopsEngineQuietly();
    void haltedBatch_startsOverWhenTheFileListChanged();
    void inputThatCannotBeOpened_saysSoInsteadOfNoRules();
    void findTextNotAtItsPlace_succeedsWithAWarning();
    void crashingEngine_leavesNoUnfinishedOutput();
    void closingDuringABatch_asksFirst();
    void progressBar_endsWithEveryFileDone();
};

void PositionBatchTest::threeFiles_eachOutputCarriesTheRulesAndSucceeds_data() {
    QTest::addColumn<bool>("imageRules");
    QTest::newRow("text rules") << false;
    QTest::newRow("image rules") << true;
}

void PositionBatchTest::threeFiles_eachOutputCarriesTheRulesAndSucceeds() {
    QFETCH(bool, imageRules);
    BatchWindow w(QStringLiteral("position"), kPrograms);
    const QString position = kitPositionText("std14_helvetica.pdf", 1, "Invoice", 12);
    QVERIFY(!position.isEmpty());
    auto* textTable = w.child<QTableWidget>("tableWidget_textsome");
    auto* imageTable = w.child<QTableWidget>("tableWidget_imagesome");
    if (imageRules) {
        textTable->hide();
        imageTable->show();
        appendRow(*imageTable, {position, "", kImage, "100", "50"});
    } else {
        appendRow(*textTable, {position, "Invoice", "Receipt"});
    }
    const QStringList inputs =
        w.copyKitFile("std14_helvetica.pdf",
                      {w.dir + "/in/one.pdf", w.dir + "/in/two.pdf", w.dir + "/in/three.pdf"});
    w.addFiles(inputs);

    w.child<QPushButton>("pushButton_textsome_replace")->click();
    for (const char* locked : {"pushButton_textsome_replace", "pushButton_textall_replace",
                               "pushButton_option", "openfileButton", "removeButton"}) {
        QVERIFY2(!w.child<QPushButton>(locked)->isEnabled(), locked);
    }
    auto* fileList = w.child<QTableWidget>("inputfiletableWidget");
    QVERIFY(!fileList->isSortingEnabled());
    QCOMPARE(w.resultCells().first(), "Running…");
    QTRY_VERIFY_WITH_TIMEOUT(w.paneLines().contains("Conversion Finished."), 60000);

    QVERIFY(inOrder(w.paneLines(), {"Conversion Start:", inputs[0], inputs[1], inputs[2],
                                    "Conversion Finished."}));
    QCOMPARE(w.resultCells(), QStringList({"Succeed", "Succeed", "Succeed"}));
    QVERIFY(w.child<QPushButton>("pushButton_textsome_replace")->isEnabled());
    QVERIFY(fileList->isSortingEnabled());
    for (const char* name : {"one", "two", "three"}) {
        const QString output = w.dir + "/out/" + name + ".pdf";
        if (imageRules) {
            const QStringList rows = toolOutput("pdfimages", {"-list", output}).split('\n');
            QCOMPARE(rows.filter(QRegularExpression("^\\s+1\\s+\\d+\\s+image\\s")).size(), 1);
        } else {
            const QString text = toolOutput("pdftotext", {output, "-"});
            QVERIFY2(text.contains("Receipt number") && !text.contains("Invoice"), name);
        }
    }
}

void PositionBatchTest::engineReport_givesSummaryAndTooltip_singleColonRuleSkipped() {
    BatchWindow w(QStringLiteral("report"), kPrograms);
    auto* table = w.child<QTableWidget>("tableWidget_textsome");
    appendRow(*table,
              {kitPositionText("std14_helvetica.pdf", 1, "Invoice", 12), "Invoice", "Bill"});
    appendRow(*table, {"P5 (150 175 80 25)", "Invoice", "x"});  // the file has one page
    appendRow(*table, {"P1 (150 175 80 25)", "a:b", "x"});
    w.addFiles(w.copyKitFile("std14_helvetica.pdf", {w.dir + "/in/a.pdf"}));
    w.runBatch("pushButton_textsome_replace");
    QCOMPARE(w.paneLines().filter("\"a:b\"").size(), 1);
    QVERIFY(w.paneLines().contains("Succeed: 1 rule in the page's font, 1 not done"));
    const QString tooltip = w.child<QTableWidget>("inputfiletableWidget")->item(0, 3)->toolTip();
    QCOMPARE(tooltip, "1 rule in the page's font, 1 not done\nnot done: page 5 does not exist");
}

void PositionBatchTest::missingInputOrFolder_showsBoxAndStartsNothing_data() {
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("no files") << false << "out"
                              << "Empty input"
                              << "Please choose files to replace";
    QTest::newRow("folder missing") << true << "missing"
                                    << "Invalid order"
                                    << "Please specify an output folder.";
    QTest::newRow("folder empty") << true << ""
                                  << "Invalid order"
                                  << "Please specify an output folder.";
}

void PositionBatchTest::missingInputOrFolder_showsBoxAndStartsNothing() {
    QFETCH(bool, withFile);
    QFETCH(QString, folder);
    QFETCH(QString, title);
    QFETCH(QString, text);
    BatchWindow w(QStringLiteral("checks"), kPrograms);
    if (withFile) {
        w.addFiles(w.copyKitFile("std14_helvetica.pdf", {w.dir + "/in/a.pdf"}));
    }
    auto* folderEdit = w.child<QLineEdit>("outputfolderEdit");
    folderEdit->setText(folder.isEmpty() ? folder : w.dir + "/" + folder);
    w.child<QPushButton>("pushButton_textsome_replace")->click();
    QCOMPARE(w.script->captions.last(), title);
    QCOMPARE(w.script->filters.last(), text);
    QCOMPARE(folderEdit->text().isEmpty(), title == "Invalid order");
    QVERIFY(!w.paneLines().contains("Conversion Start:"));
    QVERIFY(w.child<QPushButton>("pushButton_textsome_replace")->isEnabled());
}

void PositionBatchTest::inputsOfOneBaseName_getFirstFreeNames() {
    BatchWindow w(QStringLiteral("naming"), kPrograms);
    w.addFiles(w.copyKitFile(
        "std14_helvetica.pdf",
        {w.dir + "/a/report.v2.pdf", w.dir + "/b/report.pdf", w.dir + "/c/report.pdf"}));
    w.runBatch("pushButton_textsome_replace");
    QCOMPARE(w.resultCells(), QStringList({"Succeed", "Succeed", "Succeed"}));
    for (const char* output : {"report.pdf", "report-0.pdf", "report-1.pdf"}) {
        QVERIFY2(QFile::exists(w.dir + "/out/" + output), output);
    }
}

void PositionBatchTest::missingEngine_failsEachFileAndBatchFinishes() {
    BatchWindow w(QStringLiteral("no-engine"), {"Dossaly.dll"});
    w.addFiles(w.copyKitFile("std14_helvetica.pdf", {w.dir + "/in/a.pdf", w.dir + "/in/b.pdf"}));
    w.runBatch("pushButton_textsome_replace");
    QCOMPARE(w.resultCells(), QStringList({"Failed", "Failed"}));
    QCOMPARE(w.paneLines().filter("Could not start " + w.programDir + "/Tewkrun.dll").size(), 2);
    QVERIFY(w.child<QPushButton>("openfileButton")->isEnabled());
}

void PositionBatchTest::closingWindowDuringBatch_stopsEngineQuietly() {
    BatchWindow w(QStringLiteral("closing"), kPrograms);
    w.addFiles(w.copyKitFile("multipage.pdf", {w.dir + "/in/a.pdf", w.dir + "/in/b.pdf"}));
    w.child<QPushButton>("pushButton_textsome_replace")->click();
    w.window.reset();
    QTest::qWait(300);
    QVERIFY(!QFile::exists(w.dir + "/out/b.pdf"));
}

void PositionBatchTest::haltedBatch_startsOverWhenTheFileListChanged() {
    BatchWindow w(QStringLiteral("position-halted"), kPrograms);
    appendRow(*w.child<QTableWidget>("tableWidget_textsome"),
              {kitPositionText("std14_helvetica.pdf", 1, "Invoice", 12), "Invoice", "Receipt"});
    w.addFiles(w.copyKitFile("std14_helvetica.pdf", {w.dir + "/in/a.pdf", w.dir + "/in/b.pdf"}));
    // The output folder goes away once the first file is done: the batch halts before the second.
    auto* pane = w.child<QTextEdit>("textEdit_process");
    QObject::connect(pane, &QTextEdit::textChanged, pane, [&w, pane]() {
        if (pane->toPlainText().contains(QStringLiteral("Succeed"))) {
            QDir(w.dir + QStringLiteral("/out")).removeRecursively();
        }
    });
    w.child<QPushButton>("pushButton_textsome_replace")->click();
    QTRY_VERIFY_WITH_TIMEOUT(w.script->captions.contains(QStringLiteral("Invalid order")), 60000);
    QObject::disconnect(pane, &QTextEdit::textChanged, pane, nullptr);

    // Another list: the batch starts over with its first file instead of taking up row 1.
    w.child<QPushButton>("removeallButton")->click();
    w.addFiles(w.copyKitFile("std14_helvetica.pdf", {w.dir + "/in/x.pdf", w.dir + "/in/y.pdf"}));
    QDir().mkpath(w.dir + QStringLiteral("/out"));
    w.child<QLineEdit>("outputfolderEdit")->setText(w.dir + QStringLiteral("/out"));
    pane->clear();
    w.runBatch("pushButton_textsome_replace");
    QCOMPARE(w.resultCells(), QStringList({"Succeed", "Succeed"}));
    QVERIFY(QFile::exists(w.dir + QStringLiteral("/out/x.pdf")));
}

void PositionBatchTest::inputThatCannotBeOpened_saysSoInsteadOfNoRules() {
    BatchWindow w(QStringLiteral("not-a-pdf"), kPrograms);
    const QString input = w.dir + "/in/notes.pdf";
    QDir().mkpath(w.dir + "/in");
    QFile file(input);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("plain text, not a PDF\n");
    file.close();
    w.addFiles({input});
    w.runBatch("pushButton_textsome_replace");
    QCOMPARE(w.resultCells(), QStringList({"Failed"}));
    QVERIFY2(w.paneLines().contains("Failed: the input could not be opened (it is missing, not "
                                    "a PDF, or needs a password)"),
             qPrintable(w.paneLines().join('\n')));
}

void PositionBatchTest::findTextNotAtItsPlace_succeedsWithAWarning() {
    BatchWindow w(QStringLiteral("not-at-place"), kPrograms);
    // "apple" stands on the page, but not on the line of "Invoice".
    appendRow(*w.child<QTableWidget>("tableWidget_textsome"),
              {kitPositionText("std14_helvetica.pdf", 1, "Invoice", 12), "apple", "Bill"});
    w.addFiles(w.copyKitFile("std14_helvetica.pdf", {w.dir + "/in/a.pdf"}));
    w.runBatch("pushButton_textsome_replace");
    const QTableWidgetItem* cell = w.child<QTableWidget>("inputfiletableWidget")->item(0, 3);
    QCOMPARE(cell->text(), "Succeed");
    QVERIFY(!cell->icon().isNull());
    QVERIFY(cell->toolTip().contains("wrote over whatever stood there"));
    QCOMPARE(w.paneLines().filter("wrote over whatever stood there").size(), 1);
}

void PositionBatchTest::crashingEngine_leavesNoUnfinishedOutput() {
    BatchWindow w(QStringLiteral("crashing-engine"), {"Dossaly.dll"});
    // Leaves an unfinished output the way the engine names it, then crashes.
    TestEnvironment::writeStandInProgram(
        QStringLiteral("Tewkrun.dll"),
        "#!/bin/sh\ntouch \"$(dirname \"$3\")/.$(basename \"$3\").x1y2z3.part\"\n"
        "kill -SEGV $$\n");
    w.addFiles(w.copyKitFile("std14_helvetica.pdf", {w.dir + "/in/a.pdf"}));
    w.runBatch("pushButton_textsome_replace");
    QCOMPARE(w.resultCells(), QStringList({"Failed"}));
    QVERIFY2(w.paneLines().contains("Failed: the engine stopped unexpectedly; nothing was written"),
             qPrintable(w.paneLines().join("\n")));
    QCOMPARE(QDir(w.dir + "/out").entryList(QDir::Files | QDir::Hidden), QStringList());
}

void PositionBatchTest::closingDuringABatch_asksFirst() {
    BatchWindow w(QStringLiteral("closing-asks"), {"Dossaly.dll"});
    TestEnvironment::writeStandInProgram(QStringLiteral("Tewkrun.dll"), "#!/bin/sh\nsleep 5\n");
    w.addFiles(w.copyKitFile("std14_helvetica.pdf", {w.dir + "/in/a.pdf"}));
    w.window->show();
    w.child<QPushButton>("pushButton_textsome_replace")->click();
    w.script->questionAnswers = {false, true};
    QVERIFY(!w.window->close());
    QCOMPARE(w.script->questions, QStringList({"Relettra: A batch is running. Stop it and quit?"}));
    QVERIFY(w.window->isVisible());
    QVERIFY(w.window->close());
    QCOMPARE(w.script->questions.size(), 2);
}

void PositionBatchTest::progressBar_endsWithEveryFileDone() {
    BatchWindow w(QStringLiteral("progress"), kPrograms);
    w.addFiles(w.copyKitFile("multipage.pdf", {w.dir + "/in/a.pdf", w.dir + "/in/b.pdf"}));
    auto* bar = w.child<QProgressBar>("progressBar_batch");
    QStringList seen;
    QObject::connect(bar, &QProgressBar::valueChanged, bar,
                     [&seen, bar]() { seen << bar->format(); });
    w.runBatch("pushButton_textsome_replace");
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(bar->format(), "2 of 2 files done");
    QVERIFY2(inOrder(seen, {"File 1 of 2: the engine applies the rules", "1 of 2 files done",
                            "File 2 of 2: the engine applies the rules", "2 of 2 files done"}),
             qPrintable(seen.join('|')));
}

RELETTRA_GUI_TEST_MAIN(PositionBatchTest)
#include "tst_position_batch.moc"
