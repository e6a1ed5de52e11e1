// The content batch with the real page helper, engine and information helper: every place where
// a find text stands on any page becomes a rule, in text mode and in image mode.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "batch_test_window.h"
#include "test_environment.h"

namespace {

const QStringList kPrograms{"Dossaly.dll", "Tewkrun.dll", "Hevrit.dll"};

}  // namespace

class ContentBatchTest : public QObject {
    Q_OBJECT

  private slots:
    void textRules_replaceEveryWholeRunAndPhraseOnEveryPage();
    void imageRules_stampAtEachHit();
    void missingPageHelper_failsEachFileAndBatchFinishes();
    void pageHelperThatCannotReadTheFile_failsItWithoutTheEngine();
    void findTextWithPunctuationAround_isReplacedKeepingThePunctuation();
    void fileWithoutHits_saysNoOccurrences();
};

void ContentBatchTest::textRules_replaceEveryWholeRunAndPhraseOnEveryPage() {
    BatchWindow w(QStringLiteral("content-text"), kPrograms);
    addContentRule(w, {"STAMPME", "MARKED"});
    addContentRule(w, {"SPLIT", "broken"});  // only part of "SPLITWORD": matches nothing
    addContentRule(w, {"Notes for page", "Remarks on sheet"});
    addContentRule(w, {"a:b", "x"});
    const QString input = w.copyKitFile("multipage.pdf", {w.dir + "/in/multi.pdf"}).first();
    w.addFiles({input});
    w.runBatch("pushButton_textall_replace");

    QVERIFY(
        inOrder(w.paneLines(), {"Conversion Start:", input, "Analyzing page 1", "Analyzing page 2",
                                "Analyzing page 3", input, "Conversion Finished."}));
    QCOMPARE(w.paneLines().filter("\"a:b\"").size(), 1);
    QCOMPARE(w.resultCells(), QStringList({"Succeed"}));
    const QString text = toolOutput("pdftotext", {w.dir + "/out/multi.pdf", "-"});
    QCOMPARE(text.count("MARKED"), 6);
    QCOMPARE(text.count("STAMPME"), 0);
    QCOMPARE(text.count("SPLITWORD"), 1);
    QCOMPARE(text.count("Remarks on sheet"), 3);
}

void ContentBatchTest::imageRules_stampAtEachHit() {
    BatchWindow w(QStringLiteral("content-image"), kPrograms);
    w.child<QTabWidget>("tabWidget_replacechild")->setCurrentIndex(1);
    addContentRule(w, {"STAMPME", RELETTRA_TEST_DATA_DIR "/images/png_rgb.png", "40", "20"});
    w.addFiles(w.copyKitFile("multipage.pdf", {w.dir + "/in/multi.pdf"}));
    w.runBatch("pushButton_textall_replace");

    QCOMPARE(w.resultCells(), QStringList({"Succeed"}));
    const QStringList rows =
        toolOutput("pdfimages", {"-list", w.dir + "/out/multi.pdf"}).split('\n');
    QCOMPARE(rows.filter(QRegularExpression("^\\s+\\d+\\s+\\d+\\s+image\\s")).size(), 6);
}

void ContentBatchTest::missingPageHelper_failsEachFileAndBatchFinishes() {
    BatchWindow w(QStringLiteral("content-no-helper"), {"Dossaly.dll", "Tewkrun.dll"});
    addContentRule(w, {"STAMPME", "MARKED"});
    w.addFiles(w.copyKitFile("multipage.pdf", {w.dir + "/in/a.pdf", w.dir + "/in/b.pdf"}));
    w.runBatch("pushButton_textall_replace");
    QCOMPARE(w.resultCells(), QStringList({"Failed", "Failed"}));
    QCOMPARE(w.paneLines().filter("Could not start " + w.programDir + "/Hevrit.dll").size(), 2);
    QVERIFY(w.paneLines().filter("Analyzing page").isEmpty());
}

void ContentBatchTest::pageHelperThatCannotReadTheFile_failsItWithoutTheEngine() {
    BatchWindow w(QStringLiteral("content-helper-fails"), {"Dossaly.dll", "Tewkrun.dll"});
    TestEnvironment::writeStandInProgram(QStringLiteral("Hevrit.dll"),
                                         "#!/bin/sh\necho \"$1: not a PDF file\" >&2\nexit 1\n");
    addContentRule(w, {"STAMPME", "MARKED"});
    w.addFiles(w.copyKitFile("multipage.pdf", {w.dir + "/in/a.pdf"}));
    w.runBatch("pushButton_textall_replace");
    QCOMPARE(w.resultCells(), QStringList({"Failed"}));
    QCOMPARE(w.paneLines().filter("exit code 1): " + w.dir + "/in/a.pdf: not a PDF file").size(),
             1);
    QVERIFY(QDir(w.dir + "/out").isEmpty());
}

void ContentBatchTest::findTextWithPunctuationAround_isReplacedKeepingThePunctuation() {
    BatchWindow w(QStringLiteral("content-punctuation"), kPrograms);
    addContentRule(w, {"office", "bureau"});  // the memo's text holds "office," only
    w.addFiles(w.copyKitFile("groff_memo.pdf", {w.dir + "/in/memo.pdf"}));
    w.runBatch("pushButton_textall_replace");
    QCOMPARE(w.resultCells(), QStringList({"Succeed"}));
    const QString text = toolOutput("pdftotext", {w.dir + "/out/memo.pdf", "-"});
    QVERIFY2(text.contains("duty bureau, extension"), qPrintable(text));
}

void ContentBatchTest::fileWithoutHits_saysNoOccurrences() {
    BatchWindow w(QStringLiteral("content-no-hits"), kPrograms);
    addContentRule(w, {"NOWHERE", "x"});
    w.addFiles(w.copyKitFile("multipage.pdf", {w.dir + "/in/a.pdf"}));
    w.runBatch("pushButton_textall_replace");
    QCOMPARE(w.resultCells(), QStringList({"Succeed"}));
    QVERIFY(w.paneLines().contains("Succeed: no occurrences of the find texts"));
    const auto* fileList = w.child<QTableWidget>("inputfiletableWidget");
    QCOMPARE(fileList->item(0, 3)->toolTip(), "no occurrences of the find texts");
}

RELETTRA_GUI_TEST_MAIN(ContentBatchTest)
#include "tst_content_batch.moc"
