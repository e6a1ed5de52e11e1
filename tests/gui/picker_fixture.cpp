#include "picker_fixture.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include "page_view.h"
#include "page_zoom.h"
#include "process.h"
#include "rule_exchange.h"
#include "rules.h"
#include "scripted_dialogs.h"
#include "test_environment.h"

namespace pickerfixture {

namespace {

const char* const kFakeHelper =
    "#!/bin/sh\n"
    "dir=$PWD\n"
    "echo \"$@\" >> \"$dir/calls.txt\"\n"
    "[ -f \"$dir/delay\" ] && sleep \"$(cat \"$dir/delay\")\"\n"
    "base=\"${3%.png}\"\n"
    "[ -f \"$dir/page.png\" ] && cp \"$dir/page.png\" \"${base}_pg_0001.png\"\n"
    "[ -f \"$dir/page.htm\" ] && cp \"$dir/page.htm\" \"${base}_pg_0001.htm\"\n"
    "echo \"done $5\" >> \"$dir/done.txt\"\n"
    "exit $(cat \"$dir/exit\" 2>/dev/null || echo 0)\n";

QStringList linesOf(const QString& path) {
    return QFile::exists(path)
               ? QString::fromUtf8(readBytes(path)).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
               : QStringList();
}

}  // namespace

const char* const kLayer =
    "<span class=\"w\" style=\"left:72;top:140;width:210;height:12\">Total</span>\n"
    "<span class=\"w\" style=\"left:100;top:40;width:200;height:20\">A&amp;B</span>\n"
    "<span class=\"w\" style=\"left:10;top:200;width:50;height:12\">a:b</span>\n"
    "<span class=\"w\" style=\"left:10;top:250;width:60;height:12\">Date:</span>\n"
    "<html><head><style>span.w{position:absolute}</style></head><body>\n"
    "</body></html>\n";
const Subtext kTotal{72, 140, 210, 12, QStringLiteral("Total")};
const Subtext kAmpersand{100, 40, 200, 20, QStringLiteral("A&B")};
const Subtext kColonInside{10, 200, 50, 12, QStringLiteral("a:b")};
const Subtext kDate{10, 250, 60, 12, QStringLiteral("Date:")};

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

QPushButton* button(const QObject& parent, const char* name) {
    return child<QPushButton>(parent, name);
}

QTableWidget* table(const QObject& parent, const char* name) {
    return child<QTableWidget>(parent, name);
}

PageView* pageView(const QObject& rules) {
    return child<PageView>(rules, "pageView");
}

QList<QPushButton*> boxButtons(const Rules& rules) {
    return rules.findChildren<QPushButton*>(QStringLiteral("textBoxButton"));
}

bool waitForBoxes(const Rules& rules, int timeoutMs) {
    return QTest::qWaitFor([&rules] { return boxButtons(rules).size() == 4; }, timeoutMs);
}

QPushButton* box(const Rules& rules, const Subtext& word) {
    const QRect where = scaledBox(word, rules.zoom());
    for (QPushButton* boxButton : boxButtons(rules)) {
        if (boxButton->geometry() == where) {
            return boxButton;
        }
    }
    qWarning("no box at %d,%d %dx%d", where.x(), where.y(), where.width(), where.height());
    return nullptr;
}

void pick(const Rules& rules, const Subtext& word) {
    QPushButton* clicked = box(rules, word);
    QVERIFY(clicked);
    clicked->click();
    button(rules, "addButton")->click();
}

void PickerHarness::setUp(const QString& folderName) {
    dir = TestEnvironment::instance()->enterFreshWorkDir(folderName);
    // The helper lies beside the test program; the files it reads, in the working directory.
    TestEnvironment::writeStandInProgram(QStringLiteral("Hevrit.dll"), kFakeHelper);
    QImage page(kPageWidth, kPageHeight, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        for (const Subtext& word : {kTotal, kAmpersand, kColonInside, kDate}) {
            painter.fillRect(word.left, word.top, word.width, word.height, Qt::black);
        }
    }
    QVERIFY(page.save(dir + QStringLiteral("/page.png")));
    writeBytes(dir + QStringLiteral("/page.htm"), kLayer);
    RuleExchange::shared() = RuleExchange();
    script = std::make_shared<DialogScript>();
    window = std::make_unique<Process>(std::make_unique<ScriptedDialogs>(script));
}

void PickerHarness::tearDown() {
    window.reset();
}

QString PickerHarness::listPdf(int pages) {
    const QString path = dir + QStringLiteral("/doc%1.pdf").arg(pages);
    writeMinimalPdf(path, pages);
    listFile(path, QString::number(pages));
    return path;
}

void PickerHarness::listFile(const QString& path, const QString& pageCell) {
    QTableWidget* files = table(*window, "inputfiletableWidget");
    files->setRowCount(1);
    files->setItem(0, 0, new QTableWidgetItem(path));
    files->setItem(0, 1, new QTableWidgetItem(pageCell));
}

void PickerHarness::openPicker(const std::function<void(Rules&)>& act) {
    script->onModal = [act](QDialog& dialog) {
        act(*qobject_cast<Rules*>(&dialog));
        return dialog.result();
    };
    window->enteroption();
}

QStringList PickerHarness::helperCalls() const {
    return linesOf(dir + QStringLiteral("/calls.txt"));
}

QStringList PickerHarness::finishedRuns() const {
    return linesOf(dir + QStringLiteral("/done.txt"));
}

void PickerHarness::setHelperDelay(const QString& seconds) {
    writeBytes(dir + QStringLiteral("/delay"), seconds.toLatin1());
}

}  // namespace pickerfixture
