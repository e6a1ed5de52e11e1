// The headless command's logic that needs no child program: its command line, the planned output
// names and the shards, and the progress bar's line.
#include <QtTest>

#include "batch_options.h"
#include "input_files.h"
#include "output_plan.h"
#include "progress_display.h"
#include "test_environment.h"

class BatchCommandLogicTest : public QObject {
    Q_OBJECT

  private slots:
    void parseBatchOptions_refusesWhatCannotRun_data();
    void parseBatchOptions_refusesWhatCannotRun();
    void plannedOutputsAndShards_giveEveryFileOnceUnderOneName();
    void barLine_showsCountsRateAndTimeLeft();
};

void BatchCommandLogicTest::parseBatchOptions_refusesWhatCannotRun_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");  // a part of it; empty: accepted
    const QStringList base{"-o", "out", "--find", "a", "--replace", "b", "in.pdf"};
    QTest::newRow("accepted") << base << "";
    QTest::newRow("no input") << QStringList{"-o", "out", "--find", "a", "--replace", "b"}
                              << "No INPUT";
    QTest::newRow("no output") << QStringList{"--find", "a", "--replace", "b", "x.pdf"}
                               << "output folder";
    QTest::newRow("no rules") << QStringList{"-o", "out", "x.pdf"} << "No rules";
    QTest::newRow("unpaired find") << base + QStringList{"--find", "c"} << "--replace";
    QTest::newRow("both naming modes")
        << base + QStringList{"--overwrite", "--skip-existing"} << "exclude";
    QTest::newRow("jobs 0") << base + QStringList{"-j", "0"} << "-j";
    QTest::newRow("shard beyond count") << base + QStringList{"--shard", "2/2"} << "--shard";
    QTest::newRow("shard 1/3") << base + QStringList{"--shard", "1/3"} << "";
    QTest::newRow("unknown option") << base + QStringList{"--frobnicate"} << "frobnicate";
}

void BatchCommandLogicTest::parseBatchOptions_refusesWhatCannotRun() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    const ParsedOptions parsed = parseBatchOptions(QStringList{"relettra-batch"} + arguments);
    if (error.isEmpty()) {
        QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
    } else {
        QVERIFY2(parsed.error.contains(error), qPrintable(parsed.error));
    }
}

void BatchCommandLogicTest::plannedOutputsAndShards_giveEveryFileOnceUnderOneName() {
    const QStringList inputs{"/a/report.pdf", "/b/report.v2.pdf", "/c/x.pdf", "/d/report.pdf"};
    const QStringList plan = plannedOutputs("/out", inputs);
    QCOMPARE(plan, QStringList({"/out/report.pdf", "/out/report-0.pdf", "/out/x.pdf",
                                "/out/report-1.pdf"}));
    QStringList together;
    for (int shard = 0; shard < 3; ++shard) {
        together += shardOf(inputs, shard, 3);
    }
    together.sort();
    QStringList sorted = inputs;
    sorted.sort();
    QCOMPARE(together, sorted);
    QCOMPARE(shardOf(inputs, 1, 3), QStringList({"/b/report.v2.pdf"}));
}

void BatchCommandLogicTest::barLine_showsCountsRateAndTimeLeft() {
    QCOMPARE(ProgressDisplay::barLine(50, 200, 340, 25.0, 20),
             "[#####---------------] 50/200 files, 340 pages, 2.0 files/s, 1:15 left");
    QCOMPARE(ProgressDisplay::barLine(0, 0, 0, 0, 4), "[####] 0/0 files, 0 pages");
}

RELETTRA_GUI_TEST_MAIN(BatchCommandLogicTest)
#include "tst_batch_command_logic.moc"
