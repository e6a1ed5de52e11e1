// The rule-file lines every writer of the front end makes, and the writer itself.
#include <QFile>
#include <QtTest>

#include "rule_file_lines.h"
#include "test_environment.h"

class RuleFileLinesTest : public QObject {
    Q_OBJECT

  private slots:
    void ruleLines_copyPositionPiecesAndTexts_data();
    void ruleLines_copyPositionPiecesAndTexts();
    void findTextFitsRuleLine_onlyColonsAtTheEnd_data();
    void findTextFitsRuleLine_onlyColonsAtTheEnd();
    void imagePathFitsRuleLine_noClosingParenthesis();
    void readRuleLines_giveBackWhatTheEngineReadsOrSayWhy_data();
    void readRuleLines_giveBackWhatTheEngineReadsOrSayWhy();
    void writeRuleFile_utf8WithCrLfAfterEveryLine();
};

void RuleFileLinesTest::ruleLines_copyPositionPiecesAndTexts_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text rule") << textRuleLine(positionFields("P3 (72 140 210 12)"), "Total",
                                               "Sum: 5")
                               << "3-72-140-210-12:Total:Sum: 5";
    QTest::newRow("text rule, empty replacement, UTF-8 text")
        << textRuleLine(positionFields("P12 (1 2 3 4)"), "Café", "") << "12-1-2-3-4:Café:";
    QTest::newRow("image rule keeps typed sizes and drive colon")
        << imageRuleLine(positionFields("P2 (150 300 10 10)"), "C:/img/a.png", "0300", "")
        << "2:150:300:(C:/img/a.png):0300:";
    QTest::newRow("missing separators leave later pieces empty")
        << textRuleLine(positionFields("P12 (5 6"), "a", "b") << "12-5-6--:a:b";
    QTest::newRow("empty position text")
        << textRuleLine(positionFields(""), "a", "b") << "----:a:b";
}

void RuleFileLinesTest::ruleLines_copyPositionPiecesAndTexts() {
    QFETCH(QString, line);
    QFETCH(QString, expected);
    QCOMPARE(line, expected);
}

void RuleFileLinesTest::findTextFitsRuleLine_onlyColonsAtTheEnd_data() {
    QTest::addColumn<QString>("find");
    QTest::addColumn<bool>("fits");
    QTest::newRow("no colon") << "Total" << true;
    QTest::newRow("one colon at the end") << "Date:" << true;
    QTest::newRow("colons at the end") << "a::" << true;
    QTest::newRow("colon alone") << ":" << true;
    QTest::newRow("colon inside") << "a:b" << false;
    QTest::newRow("colon pair inside") << "a::b" << false;
    QTest::newRow("leading colon") << ":x" << false;
}

void RuleFileLinesTest::findTextFitsRuleLine_onlyColonsAtTheEnd() {
    QFETCH(QString, find);
    QFETCH(bool, fits);
    QCOMPARE(findTextFitsRuleLine(find), fits);
}

void RuleFileLinesTest::imagePathFitsRuleLine_noClosingParenthesis() {
    QVERIFY(imagePathFitsRuleLine("C:/pics (old/logo.png"));
    QVERIFY(!imagePathFitsRuleLine("/pics/logo (1).png"));
}

void RuleFileLinesTest::writeRuleFile_utf8WithCrLfAfterEveryLine() {
    const QString path = TestEnvironment::instance()->tempDir() + QStringLiteral("/rules.txt");
    QVERIFY(writeRuleFile(path, {"1-2-3-4-5:Café:Thé", "1-2-3-4-5:a:"}));
    QVERIFY(appendRuleLines(path, {"2-2-3-4-5:b:c"}));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(),
             QByteArray("1-2-3-4-5:Caf\xC3\xA9:Th\xC3\xA9\r\n1-2-3-4-5:a:\r\n2-2-3-4-5:b:c\r\n"));
    file.close();
    QVERIFY(writeRuleFile(path, {}));
    QCOMPARE(QFileInfo(path).size(), 0);
    QVERIFY(!writeRuleFile(path + QStringLiteral("/not-a-folder/x.txt"), {"x"}));
    QVERIFY(!appendRuleLines(QString(), {"x"}));
}

void RuleFileLinesTest::readRuleLines_giveBackWhatTheEngineReadsOrSayWhy_data() {
    QTest::addColumn<bool>("image");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");  // find, replace or image, width, height
    QTest::addColumn<bool>("fits");
    QTest::newRow("text") << false << "3-72-140-210-12:Total:Sum: 5"
                          << QStringList{"Total", "Sum: 5"} << true;
    QTest::newRow("colons ending the find text")
        << false << "1-2-3-4-5:Total::Sum" << QStringList{"Total:", "Sum"} << true;
    QTest::newRow("empty replacement") << false << "1-2-3-4-5:a:" << QStringList{"a", ""} << true;
    QTest::newRow("no replacement") << false << "1-2-3-4-5:a" << QStringList{"a", ""} << false;
    QTest::newRow("page 0") << false << "0-2-3-4-5:a:b" << QStringList{"a", "b"} << false;
    QTest::newRow("negative place") << false << "1--2-3-4-5:a:b" << QStringList() << false;
    QTest::newRow("image") << true << "2:150:300.5:(C:/img/a.png):0300:0"
                           << QStringList{"C:/img/a.png", "0300", "0"} << true;
    QTest::newRow("image without brackets")
        << true << "2:150:300:C:/a.png:10:10" << QStringList() << false;
    QTest::newRow("image size not a number")
        << true << "2:150:300:(a.png):wide:10" << QStringList() << false;
}

void RuleFileLinesTest::readRuleLines_giveBackWhatTheEngineReadsOrSayWhy() {
    QFETCH(bool, image);
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QFETCH(bool, fits);
    QString problem;
    QStringList read;
    if (image) {
        const ImageRuleFields rule = readImageRuleLine(line, problem);
        read = QStringList{rule.imagePath, rule.width, rule.height};
    } else {
        const TextRuleFields rule = readTextRuleLine(line, problem);
        read = QStringList{rule.find, rule.replace};
    }
    QCOMPARE(problem.isEmpty(), fits);
    if (!fields.isEmpty()) {
        QCOMPARE(read, fields);
    }
}

RELETTRA_GUI_TEST_MAIN(RuleFileLinesTest)
#include "tst_rule_file_lines.moc"
