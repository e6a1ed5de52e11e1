// From a click on a kit page to the changed PDF: the picker shows a page made by the real page
// helper, the box of a known word is added as a text rule, given a replacement and saved, and the
// position batch runs the real engine, which replaces that word where it stands in the page's own
// font.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

#include "page_zoom.h"
#include "process.h"
#include "rule_exchange.h"
#include "rules.h"
#include "run_folder.h"
#include "scripted_dialogs.h"
#include "test_environment.h"
#include "text_layer.h"

namespace {

QString runTool(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.start(program, arguments);
    tool.waitForFinished(60000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// Where pdftotext places each occurrence of the word on the displayed first page: "left,top".
QStringList placesOf(const QString& pdf, const QString& word) {
    static const QRegularExpression wordBox(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>)re"));
    QStringList places;
    const QString page =
        runTool(QStringLiteral("pdftotext"), {"-cropbox", "-bbox", "-f", "1", "-l", "1", pdf, "-"});
    for (auto match = wordBox.globalMatch(page); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        if (found.captured(3) == word) {
            // Whole points: the replacement starts where the word started.
            places << QStringLiteral("%1,%2")
                          .arg(qRound(found.captured(1).toDouble()))
                          .arg(qRound(found.captured(2).toDouble()));
        }
    }
    return places;
}

// The fonts pdffonts lists, each without its object number.
QStringList fontsOf(const QString& pdf) {
    QStringList fonts;
    const QStringList lines =
        runTool(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines.mid(2)) {
        fonts << line.section(QLatin1Char(' '), 0, -3, QString::SectionSkipEmpty);
    }
    return fonts;
}

// Clicks the box the page helper wrote for `word`, adds it and saves it with `replacement`.
int pickAndSave(QDialog& dialog, const QString& word, const QString& replacement) {
    auto& rules = *qobject_cast<Rules*>(&dialog);
    const auto boxButtons = [&rules] {
        return rules.findChildren<QPushButton*>(QStringLiteral("textBoxButton"));
    };
    QFile layer(runFolderFile(QStringLiteral("text_pg_0001.htm")));
    if (!QTest::qWaitFor([&] { return !boxButtons().isEmpty(); }, 30000) ||
        !layer.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QString& line : textLayerLines(QString::fromUtf8(layer.readAll()))) {
        const Subtext box = getSubtextInfo(line);
        for (QPushButton* button : boxButtons()) {
            if (box.text == word && button->geometry() == scaledBox(box, rules.zoom())) {
                button->click();
            }
        }
    }
    rules.findChild<QPushButton*>(QStringLiteral("addButton"))->click();
    auto* table = rules.findChild<QTableWidget*>(QStringLiteral("tableWidget_rule"));
    if (table->rowCount() != 1) {
        return 0;
    }
    qobject_cast<QLineEdit*>(table->cellWidget(0, 2))->setText(replacement);
    rules.findChild<QPushButton*>(QStringLiteral("pushButton_save"))->click();
    return dialog.result();
}

}  // namespace

class PickerEndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void clickedWord_savedRuleReplacesItInPlaceInItsOwnFont_data();
    void clickedWord_savedRuleReplacesItInPlaceInItsOwnFont();
};

void PickerEndToEndTest::clickedWord_savedRuleReplacesItInPlaceInItsOwnFont_data() {
    QTest::addColumn<QString>("kitFile");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("replacement");
    QTest::newRow("upright page") << QStringLiteral("std14_helvetica.pdf")
                                  << QStringLiteral("Invoice") << QStringLiteral("Receipt");
    // On a turned page the text runs down the displayed page; the word stands inside its line.
    QTest::newRow("page turned by 90 degrees")
        << QStringLiteral("rotate90.pdf") << QStringLiteral("NINETY") << QStringLiteral("YTENIN");
}

void PickerEndToEndTest::clickedWord_savedRuleReplacesItInPlaceInItsOwnFont() {
    QFETCH(QString, kitFile);
    QFETCH(QString, word);
    QFETCH(QString, replacement);
    const QString dir = TestEnvironment::instance()->enterFreshWorkDir(QStringLiteral("e2e"));
    TestEnvironment::linkBuiltPrograms({"Hevrit.dll", "Tewkrun.dll"});
    for (const char* program : {"Hevrit.dll", "Tewkrun.dll"}) {
        QVERIFY2(QFileInfo::exists(TestEnvironment::programDir() + QLatin1Char('/') +
                                   QLatin1String(program)),
                 program);
    }
    const QString input = QStringLiteral(RELETTRA_TEST_DATA_DIR "/kit/") + kitFile;

    RuleExchange::shared() = RuleExchange();
    auto script = std::make_shared<DialogScript>();
    script->onModal = [&](QDialog& dialog) { return pickAndSave(dialog, word, replacement); };
    Process window(std::make_unique<ScriptedDialogs>(script));
    auto* files = window.findChild<QTableWidget*>(QStringLiteral("inputfiletableWidget"));
    files->setRowCount(1);
    files->setItem(0, 0, new QTableWidgetItem(input));
    files->setItem(0, 1, new QTableWidgetItem(QStringLiteral("1")));
    window.enteroption();
    auto* positionRules = window.findChild<QTableWidget*>(QStringLiteral("tableWidget_textsome"));
    QCOMPARE(positionRules->rowCount(), 1);
    QCOMPARE(positionRules->item(0, 1)->text(), word);

    QVERIFY(QDir().mkpath(dir + QStringLiteral("/out")));
    window.findChild<QLineEdit*>(QStringLiteral("outputfolderEdit"))
        ->setText(dir + QStringLiteral("/out"));
    window.findChild<QPushButton*>(QStringLiteral("pushButton_textsome_replace"))->click();
    auto* pane = window.findChild<QTextEdit*>(QStringLiteral("textEdit_process"));
    QVERIFY(QTest::qWaitFor(
        [pane] { return pane->document()->lastBlock().text() == "Conversion Finished."; }, 60000));
    QCOMPARE(files->item(0, 3)->text(), QStringLiteral("Succeed"));
    const QString output = dir + QStringLiteral("/out/") + QFileInfo(input).completeBaseName() +
                           QStringLiteral(".pdf");

    const QStringList before = placesOf(input, word);
    QCOMPARE(before.size(), 1);
    QCOMPARE(placesOf(output, replacement), before);
    QVERIFY(placesOf(output, word).isEmpty());
    QCOMPARE(fontsOf(output), fontsOf(input));
}

RELETTRA_GUI_TEST_MAIN(PickerEndToEndTest)
#include "tst_picker_end_to_end.moc"
