// The batches' logic that needs no window: output names, page analysis with phrases, the content
// rules' lines and notes, and the engine's rule report.
#include <QDir>
#include <QFile>
#include <QSet>
#include <QtTest>

#include "batch_progress.h"
#include "child_run.h"
#include "content_rules.h"
#include "engine_exit.h"
#include "file_verdict.h"
#include "output_naming.h"
#include "page_analysis.h"
#include "rule_order.h"
#include "rule_report.h"
#include "test_environment.h"

namespace {

QString spanLine(int left, int top, int width, int height, const QString& word) {
    return QStringLiteral(R"(<span class="w" style="left:%1;top:%2;width:%3;height:%4">%5</span>)")
        .arg(left)
        .arg(top)
        .arg(width)
        .arg(height)
        .arg(word);
}

// One page: "Please STAMPME here" on one line, "stampme STAMPMEE" on the next, a lone "here"
// further down, then a frame line without a position and a word after it.
QString samplePage() {
    return QStringList({spanLine(150, 187, 83, 25, "Please"),
                        spanLine(233, 188, 130, 25, "STAMPME"), spanLine(363, 187, 50, 25, "here"),
                        spanLine(150, 250, 90, 25, "stampme"),
                        spanLine(250, 250, 150, 25, "STAMPMEE"), spanLine(150, 400, 50, 25, "here"),
                        QStringLiteral("<style>span.w{position:absolute}</style>"),
                        spanLine(150, 500, 130, 25, "STAMPME")})
        .join(QLatin1Char('\n'));
}

}  // namespace

class BatchLogicTest : public QObject {
    Q_OBJECT

  private slots:
    void firstFreeOutputPath_takesFirstNameNotTaken_data();
    void firstFreeOutputPath_takesFirstNameNotTaken();
    void readPageBoxes_stopsAfterFirstUnplacedLineAndAt10000();
    void contentRuleLines_oneLinePerHit_data();
    void contentRuleLines_oneLinePerHit();
    void usableContentRules_skipsUnusableRowsWithOneNoteEach();
    void applyingOrder_pageByPageRightToLeftKeepingOrderAtOnePlace();
    void childRun_programBeyondItsTimeLimitIsStoppedAndReported();
    void removeUnfinishedOutput_removesOnlyTheEnginesPartFiles();
    void ruleSummary_countsResultsAndLeavesOutEmptyParts_data();
    void ruleSummary_countsResultsAndLeavesOutEmptyParts();
    void findTextHits_setPunctuationAroundWordsAside();
    void judgeEngineOutcome_saysWhyBeforeTheCounts_data();
    void judgeEngineOutcome_saysWhyBeforeTheCounts();
    void batchProgress_followsFilesPagesAndEngineInOrder();
};

void BatchLogicTest::firstFreeOutputPath_takesFirstNameNotTaken_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("taken");
    QTest::addColumn<QString>("expected");
    QTest::newRow("cut at first dot") << "/in/report.v2.pdf" << QStringList() << "/out/report.pdf";
    QTest::newRow("base taken") << "/in/a.pdf" << QStringList{"/out/a.pdf"} << "/out/a-0.pdf";
    QTest::newRow("base and -0 taken")
        << "/in/a.pdf" << QStringList{"/out/a.pdf", "/out/a-0.pdf"} << "/out/a-1.pdf";
    QTest::newRow("leading dots dropped, no hidden output")
        << "/in/.x.pdf" << QStringList() << "/out/x.pdf";
    QTest::newRow("nothing but dots") << "/in/..." << QStringList() << "/out/output.pdf";
}

void BatchLogicTest::firstFreeOutputPath_takesFirstNameNotTaken() {
    QFETCH(QString, input);
    QFETCH(QStringList, taken);
    QFETCH(QString, expected);
    const QSet<QString> takenSet(taken.begin(), taken.end());
    QCOMPARE(firstFreeOutputPath("/out", input,
                                 [&](const QString& path) { return takenSet.contains(path); }),
             expected);
}

void BatchLogicTest::readPageBoxes_stopsAfterFirstUnplacedLineAndAt10000() {
    const QList<Subtext> boxes = readPageBoxes(samplePage());
    QCOMPARE(boxes.size(), 7);
    QCOMPARE(boxes.last().text, QString());

    QStringList many;
    for (int i = 0; i < 10005; ++i) {
        many << spanLine(1 + i, 1, 1, 1, "w");
    }
    const QList<Subtext> capped = readPageBoxes(many.join('\n'));
    QCOMPARE(capped.size(), 10000);
    QCOMPARE(capped.last().left, 10000);
}

void BatchLogicTest::contentRuleLines_oneLinePerHit_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<ContentRule>>("rules");
    QTest::addColumn<QStringList>("expected");
    const auto text = [](const QString& find, const QString& replace) {
        return ContentRule{find, replace, {}, {}, {}};
    };
    QTest::newRow("exact, case-sensitive, not inside a longer word")
        << int(RuleKind::Text) << QList<ContentRule>{text("STAMPME", "X"), text("STAMP", "Y")}
        << QStringList{"4-233-188-130-25:STAMPME:X"};
    QTest::newRow("two rows with one find text give two lines")
        << int(RuleKind::Text) << QList<ContentRule>{text("here", "a"), text("here", "b")}
        << QStringList{"4-363-187-50-25:here:a", "4-363-187-50-25:here:b", "4-150-400-50-25:here:a",
                       "4-150-400-50-25:here:b"};
    QTest::newRow("phrase on one line gives the union box")
        << int(RuleKind::Text) << QList<ContentRule>{text("Please STAMPME here", "Hi")}
        << QStringList{"4-150-187-263-26:Please STAMPME here:Hi"};
    QTest::newRow("phrase across lines or with a double blank matches nothing")
        << int(RuleKind::Text)
        << QList<ContentRule>{text("here stampme", "x"), text("STAMPME  here", "x")}
        << QStringList();
    QTest::newRow("image rule takes left and top, sizes as typed")
        << int(RuleKind::Image) << QList<ContentRule>{{"STAMPME", {}, "/i/s.png", "40", ""}}
        << QStringList{"4:233:188:(/i/s.png):40:"};
}

void BatchLogicTest::contentRuleLines_oneLinePerHit() {
    QFETCH(int, kind);
    QFETCH(QList<ContentRule>, rules);
    QFETCH(QStringList, expected);
    QCOMPARE(contentRuleLines(RuleKind(kind), 4, readPageBoxes(samplePage()), rules), expected);
}

void BatchLogicTest::usableContentRules_skipsUnusableRowsWithOneNoteEach() {
    const QList<ContentRule> rows{
        {"", "x", "/i.png", {}, {}},       {"a:b", "x", "/i.png", {}, {}},
        {"", "y", "/i.png", {}, {}},       {"Total::", "Sum", "/i.png", {}, {}},
        {"cat", ":dog", "/i.png", {}, {}}, {"logo", {}, "", "10", "10"}};
    const UsableContentRules text = usableContentRules(RuleKind::Text, rows);
    QCOMPARE(text.rules.size(), 2);
    QCOMPARE(text.notices.size(), 3);
    QCOMPARE(text.rules.at(0).find, QString("Total::"));
    QVERIFY(text.notices.at(0).contains("\"a:b\": its find text"));
    QVERIFY(text.notices.at(1).contains("\"cat\": its replacement starts"));
    QVERIFY(text.notices.at(2).contains("2 rules with an empty find text"));

    const UsableContentRules image = usableContentRules(RuleKind::Image, rows);
    QCOMPARE(image.rules.size(), 3);  // colons do not matter for images
    QVERIFY(image.notices.at(0).contains("\"logo\": no image"));
}

void BatchLogicTest::ruleSummary_countsResultsAndLeavesOutEmptyParts_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<int>("reasons");
    const QString own = "change success? 1\nRule result: own font\n";
    const QString fallback = "change success? 1\nRule result: fallback font: no glyph for é\r\n";
    const QString notDone = "Rule result: not done: no text at that place\n";
    QTest::newRow("text: all three parts")
        << int(RuleKind::Text) << own + own + own + fallback + notDone + notDone
        << "3 rules in the page's font, 1 in the fallback font, 2 not done" << 3;
    QTest::newRow("text: only fallback names the rules")
        << int(RuleKind::Text) << fallback << "1 rule in the fallback font" << 1;
    const QString field = "change success? 1\nRule result: own font: form field\n";
    const QString fieldFallback =
        "Rule result: fallback font: form field: the font Helvetica has no glyph for "
        "\"\xD0\x96\"\n";
    QTest::newRow("text: form fields in their font and in the fallback")
        << int(RuleKind::Text) << field + own + field + fieldFallback
        << "1 rule in the page's font, 2 in a form field's font, 1 in the fallback font" << 1;
    QTest::newRow("image runs") << int(RuleKind::Image)
                                << QString("Rule result: image placed\n").repeated(4) + notDone
                                << "4 images placed, 1 not placed" << 1;
    QTest::newRow("no result lines") << int(RuleKind::Text) << "Page count is:3\n"
                                     << "no rules" << 0;
}

void BatchLogicTest::ruleSummary_countsResultsAndLeavesOutEmptyParts() {
    QFETCH(int, kind);
    QFETCH(QString, output);
    QFETCH(QString, summary);
    QFETCH(int, reasons);
    const RuleReport report = readRuleReport(output);
    QCOMPARE(ruleSummary(report, RuleKind(kind)), summary);
    const QStringList details = ruleDetails(summary, report).split('\n');
    QCOMPARE(details.first(), summary);
    QCOMPARE(details.size(), 1 + reasons);
}

void BatchLogicTest::applyingOrder_pageByPageRightToLeftKeepingOrderAtOnePlace() {
    // "the cat and the dog": the second "the" goes first, so that the first edit moves nothing a
    // later rule points at.
    const QList<PositionFields> places = {{"2", "5", "9", "1", "1"},
                                          {"1", "10", "9", "3", "1"},
                                          {"1", "100", "9", "3", "1"},
                                          {"1", "10", "9", "3", "1"},
                                          {"1", "10", "40", "3", "1"}};
    QCOMPARE(applyingOrder(places), (QList<int>{2, 4, 1, 3, 0}));
}

void BatchLogicTest::childRun_programBeyondItsTimeLimitIsStoppedAndReported() {
    ChildRun run;
    run.setTimeLimit(200);
    QSignalSpy timedOut(&run, &ChildRun::timedOut);
    QSignalSpy finished(&run, &ChildRun::finished);
    run.start({QStringLiteral("/bin/sleep"), {QStringLiteral("30")}, {}});
    QVERIFY(timedOut.wait(10000));
    QCOMPARE(timedOut.first().at(0).toString(), QStringLiteral("/bin/sleep"));
    QVERIFY(!run.isActive());
    QTest::qWait(100);
    QCOMPARE(finished.size(), 0);
}

void BatchLogicTest::removeUnfinishedOutput_removesOnlyTheEnginesPartFiles() {
    const QString dir = TestEnvironment::instance()->enterFreshWorkDir(QStringLiteral("part"));
    for (const char* name : {".a.pdf.x1Y2z3.part", "a.pdf", ".b.pdf.x1Y2z3.part", "a.pdf.part"}) {
        QFile file(dir + QLatin1Char('/') + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    removeUnfinishedOutput(dir + QStringLiteral("/a.pdf"));
    QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             QStringList({".b.pdf.x1Y2z3.part", "a.pdf", "a.pdf.part"}));
}

void BatchLogicTest::findTextHits_setPunctuationAroundWordsAside() {
    const QList<Subtext> boxes{{10, 10, 50, 20, "(office),"}, {70, 10, 40, 20, "offices"},
                               {120, 10, 40, 20, "“Notes"},   {170, 10, 20, 20, "for"},
                               {200, 10, 40, 20, "page.”"},   {10, 50, 40, 20, "for,"},
                               {60, 50, 40, 20, "page"}};
    QStringList found;
    for (const FindHit& hit :
         findTextHits(boxes, {"office", "Notes for page", "for page", "page."})) {
        found << QStringLiteral("%1@%2,%3").arg(hit.find).arg(hit.box.left).arg(hit.box.top);
    }
    // The boxes stay the words' own; inside a phrase, punctuation only at its ends is set aside.
    QCOMPARE(found, QStringList({"0@10,10", "1@120,10", "2@170,10", "3@200,10"}));
}

void BatchLogicTest::judgeEngineOutcome_saysWhyBeforeTheCounts_data() {
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("written");
    QTest::addColumn<int>("unreadPages");
    QTest::addColumn<QString>("engineOutput");
    QTest::addColumn<QString>("pane");
    const QString own = "Rule result: own font\n";
    QTest::newRow("success") << 1 << true << 0 << own << "Succeed: 1 rule in the page's font";
    QTest::newRow("unread pages, summary first")
        << 1 << true << 3 << own
        << "Failed: 1 rule in the page's font; the text of 3 pages could not be read, so they "
           "were not searched";
    QTest::newRow("output not writable")
        << 2 << false << 0 << own
        << "Failed: the output could not be written (check the output folder); 1 rule in the "
           "page's font";
    QTest::newRow("input not opened: no rule counts")
        << 0 << false << 0 << "File error!: Cannot open the input file x.pdf\n"
        << "Failed: the input could not be opened (it is missing, not a PDF, or needs a "
           "password)";
    QTest::newRow("locked")
        << 0 << false << 0
        << "File error!: The document's permissions do not allow changing it: x.pdf\n"
        << "Failed: the document is locked: its permissions do not allow changes";
    QTest::newRow("engine failure as the process sees it")
        << 250 << false << 0 << "Fatal error!: out of memory\n"
        << "Failed: the engine failed (out of memory or an internal error); nothing was written";
    QTest::newRow("rule not at its place: a warning")
        << 1 << true << 0 << "Rule result: fallback font: the find text is not at this place\n"
        << "Succeed: 1 rule in the fallback font; 1 rule found no find text at its place and "
           "wrote over whatever stood there (a file of another layout?)";
    QTest::newRow("rule's text nowhere on its page: a warning")
        << 1 << true << 0
        << "Rule result: fallback font: the find text is not on the page; written in "
           "Liberation Sans\n"
        << "Succeed: 1 rule in the fallback font; 1 rule found no find text at its place and "
           "wrote over whatever stood there (a file of another layout?)";
}

void BatchLogicTest::judgeEngineOutcome_saysWhyBeforeTheCounts() {
    QFETCH(int, exitCode);
    QFETCH(bool, written);
    QFETCH(int, unreadPages);
    QFETCH(QString, engineOutput);
    QFETCH(QString, pane);
    EngineOutcome outcome;
    outcome.outputWritten = written;
    outcome.pageCount = 4;
    outcome.unreadPages = unreadPages;
    outcome.textRun = true;
    outcome.textReport = readRuleReport(engineOutput);
    outcome.engineProblem = engineExitProblem(RuleKind::Text, exitCode, false, engineOutput);
    FileResult result;
    judgeEngineOutcome(outcome, result);
    QCOMPARE(result.paneMessage, pane);
    QCOMPARE(result.succeeded, pane.startsWith("Succeed"));
    QCOMPARE(result.warning, pane.contains("another layout"));
    QVERIFY(result.details.startsWith(pane.section(": ", 1)));
}

void BatchLogicTest::batchProgress_followsFilesPagesAndEngineInOrder() {
    BatchProgress progress;
    progress.start(4, 1);
    QCOMPARE(progress.text(), "1 of 4 files done");
    progress.fileStarted(1);
    progress.pageAnalysed(3, 6);
    QCOMPARE(progress.text(), "File 2 of 4: page 3 of 6 analysed");
    QCOMPARE(progress.value(), 312);
    progress.engineStarted();
    QCOMPARE(progress.text(), "File 2 of 4: the engine applies the rules");
    QCOMPARE(progress.value(), 375);
    progress.fileFinished();
    QCOMPARE(progress.value(), 500);
    QCOMPARE(progress.text(), "2 of 4 files done");
}

RELETTRA_GUI_TEST_MAIN(BatchLogicTest)
#include "tst_batch_logic.moc"
