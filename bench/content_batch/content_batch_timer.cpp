// Times the content batch of the real window, offscreen: from the press of "Replace" on the
// content tab to "Conversion Finished.", with one find text and the real child programs.
// Usage: content_batch_timer IN.pdf FIND REPLACE RUNS [MORE.pdf…]
// Prints the shortest run in seconds and the result of the last run's first file, then how many
// of its files succeeded.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "process.h"
#include "user_dialogs.h"

namespace {

// Answers the one file dialog with the input file; nothing else is asked in a good run.
class BenchDialogs : public UserDialogs {
  public:
    explicit BenchDialogs(QStringList inputs) : inputs(std::move(inputs)) {}
    QStringList openFileNames(QWidget*, const QString&, const QString&, const QString&) override {
        return inputs;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString existingDirectory(QWidget*, const QString&, const QString&) override { return {}; }
    void information(QWidget*, const QString& title, const QString& text) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
    void warning(QWidget* parent, const QString& title, const QString& text) override {
        information(parent, title, text);
    }
    bool question(QWidget*, const QString&, const QString&) override { return false; }
    int runModal(QDialog&) override { return 0; }
    bool openUrl(const QUrl&) override { return false; }

  private:
    QStringList inputs;
};

// Runs the event loop until `done` holds, checking every few milliseconds.
template <typename Done>
void waitUntil(Done done) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&]() {
        if (done()) loop.quit();
    });
    poll.start(2);
    loop.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: content_batch_timer IN.pdf FIND REPLACE RUNS [MORE.pdf…]\n");
        return 2;
    }
    QStringList inputs{QFileInfo(args.at(1)).absoluteFilePath()};
    for (qsizetype i = 5; i < args.size(); ++i) {
        inputs << QFileInfo(args.at(i)).absoluteFilePath();
    }
    const int runs = std::max(1, args.at(4).toInt());

    // The window finds its programs beside the running program: this one's own folder.
    const QString programDir = QCoreApplication::applicationDirPath();
    for (const char* program : {"Tewkrun.dll", "Hevrit.dll", "Dossaly.dll"}) {
        const QString beside = programDir + QLatin1Char('/') + QLatin1String(program);
        QFile::remove(beside);
        QFile::link(QStringLiteral(RELETTRA_RUN_DIR "/") + QLatin1String(program), beside);
    }
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    const QString outputFolder = work.filePath(QStringLiteral("out"));

    Process window(std::make_unique<BenchDialogs>(inputs));
    window.setopenfile();
    waitUntil([&]() { return !window.pageCountPassRunning(); });
    window.findChild<QLineEdit*>(QStringLiteral("outputfolderEdit"))->setText(outputFolder);
    window.findChild<QPushButton*>(QStringLiteral("pushButton_text_add"))->click();
    auto* rules = window.findChild<QTableWidget*>(QStringLiteral("tableWidget_textall"));
    qobject_cast<QLineEdit*>(rules->cellWidget(0, 0))->setText(args.at(2));
    qobject_cast<QLineEdit*>(rules->cellWidget(0, 1))->setText(args.at(3));
    auto* pane = window.findChild<QTextEdit*>(QStringLiteral("textEdit_process"));
    auto* replace = window.findChild<QPushButton*>(QStringLiteral("pushButton_textall_replace"));

    double best = 0;
    for (int run = 0; run < runs; ++run) {
        QDir(outputFolder).removeRecursively();
        QDir().mkpath(outputFolder);
        pane->clear();
        QElapsedTimer clock;
        clock.start();
        replace->click();
        waitUntil([&]() {
            return pane->document()->lastBlock().text() == QLatin1String("Conversion Finished.");
        });
        const double seconds = clock.nsecsElapsed() / 1e9;
        best = run == 0 ? seconds : std::min(best, seconds);
    }
    const auto* files = window.findChild<QTableWidget*>(QStringLiteral("inputfiletableWidget"));
    const auto* result = files->item(0, 3);
    int succeeded = 0;
    for (int row = 0; row < files->rowCount(); ++row) {
        succeeded += files->item(row, 3) && files->item(row, 3)->text() == QLatin1String("Succeed");
    }
    std::printf("%.4f %s %s; %d of %d succeeded\n", best, result ? qPrintable(result->text()) : "-",
                result ? qPrintable(result->toolTip().section('\n', 0, 0)) : "", succeeded,
                static_cast<int>(files->rowCount()));
    return 0;
}
