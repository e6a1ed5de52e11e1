#include "batch_test_window.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QtTest>
#include <cmath>

#include "test_environment.h"

namespace {

const QString kKitDir = QStringLiteral(RELETTRA_TEST_DATA_DIR "/kit");

int pixels(double points) {
    return static_cast<int>(std::ceil(points * 150 / 72));
}

}  // namespace

BatchWindow::BatchWindow(const QString& name, const QStringList& programs)
    : dir(TestEnvironment::instance()->enterFreshWorkDir(name)),
      programDir(TestEnvironment::programDir()),
      script(std::make_shared<DialogScript>()) {
    TestEnvironment::linkBuiltPrograms(programs);
    window = std::make_unique<Process>(std::make_unique<ScriptedDialogs>(script));
    QDir().mkpath(dir + QStringLiteral("/out"));
    child<QLineEdit>("outputfolderEdit")->setText(dir + QStringLiteral("/out"));
}

QStringList BatchWindow::copyKitFile(const QString& kitName, const QStringList& paths) const {
    for (const QString& path : paths) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile::copy(kKitDir + QLatin1Char('/') + kitName, path);
    }
    return paths;
}

void BatchWindow::addFiles(const QStringList& paths) {
    script->fileListAnswers << paths;
    child<QPushButton>("openfileButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window->pageCountPassRunning(), 30000);
}

void BatchWindow::runBatch(const char* replaceButton) {
    child<QPushButton>(replaceButton)->click();
    QTRY_VERIFY_WITH_TIMEOUT(paneLines().contains(QStringLiteral("Conversion Finished.")), 60000);
}

QStringList BatchWindow::paneLines() const {
    return child<QTextEdit>("textEdit_process")->toPlainText().split(QLatin1Char('\n'));
}

QStringList BatchWindow::resultCells() const {
    const auto* fileList = child<QTableWidget>("inputfiletableWidget");
    QStringList cells;
    for (int row = 0; row < fileList->rowCount(); ++row) {
        const QTableWidgetItem* item = fileList->item(row, 3);
        cells << (item ? item->text() : QString());
    }
    return cells;
}

QString kitPositionText(const QString& kitName, int page, const QString& word, int size) {
    QFile manifest(kKitDir + QStringLiteral("/MANIFEST.json"));
    manifest.open(QIODevice::ReadOnly);
    const QJsonObject file =
        QJsonDocument::fromJson(manifest.readAll())["files"][kitName].toObject();
    for (const QJsonValue& box : file["pages"][page - 1]["words"].toArray()) {
        if (box["text"].toString() != word) {
            continue;
        }
        // The box reaches about a fifth of the size below the baseline.
        const double baseline = std::round(box["yMax"].toDouble() - 0.21 * size);
        const double left = box["xMin"].toDouble();
        return QStringLiteral("P%1 (%2 %3 %4 %5)")
            .arg(page)
            .arg(pixels(left))
            .arg(pixels(baseline - size))
            .arg(pixels(box["xMax"].toDouble() - left))
            .arg(pixels(size));
    }
    return QString();
}

bool inOrder(const QStringList& lines, const QStringList& needles) {
    qsizetype at = 0;
    for (const QString& needle : needles) {
        at = lines.indexOf(needle, at);
        if (at < 0) {
            return false;
        }
        ++at;
    }
    return true;
}

QString toolOutput(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

void appendRow(QTableWidget& table, const QStringList& cells) {
    const int row = table.rowCount();
    table.insertRow(row);
    for (int column = 0; column < cells.size(); ++column) {
        table.setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
}

void addContentRule(BatchWindow& w, const QStringList& cells) {
    w.child<QPushButton>("pushButton_text_add")->click();
    auto* table = w.child<QTabWidget>("tabWidget_replacechild")->currentIndex() == 0
                      ? w.child<QTableWidget>("tableWidget_textall")
                      : w.child<QTableWidget>("tableWidget_imageall");
    const int row = table->rowCount() - 1;
    for (int column = 0; column < cells.size(); ++column) {
        QWidget* cell = table->cellWidget(row, column);
        if (auto* edit = qobject_cast<QLineEdit*>(cell)) {
            edit->setText(cells.at(column));
        } else {
            qobject_cast<QPushButton*>(cell)->setText(cells.at(column));
        }
    }
}
