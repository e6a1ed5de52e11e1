#include "headless_batch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <cstdio>

#include "batch_report.h"
#include "batch_runner.h"
#include "command_rules.h"
#include "console.h"
#include "input_files.h"
#include "output_plan.h"
#include "program_folder.h"
#include "progress_display.h"

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("HeadlessBatch", text);
}

void printError(const QString& text) {
    std::fprintf(stderr, "relettra-batch: %s\n", text.toLocal8Bit().constData());
}

}  // namespace

HeadlessBatch::HeadlessBatch(QObject* parent) : QObject(parent) {}

HeadlessBatch::~HeadlessBatch() = default;

int HeadlessBatch::prepare(const BatchOptions& given) {
    options = given;
    QString problem;
    const QStringList all = collectInputFiles(options.inputs, standardInputLines, problem);
    if (!problem.isEmpty()) {
        printError(problem);
        return kBadCommand;
    }
    const CommandRules commandRules = readCommandRules(options);
    for (const QString& ruleProblem : commandRules.problems) {
        printError(ruleProblem);
    }
    if (!commandRules.problems.isEmpty()) {
        printError(translated("no file was touched: mend the rules above and start again."));
        return kBadCommand;
    }
    rules = commandRules.rules;

    const QString folder = QDir(options.outputFolder).absolutePath();
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable()) {
        printError(translated("the output folder %1 cannot be made or written.").arg(folder));
        return kBadCommand;
    }
    options.outputFolder = folder;

    // Outputs named by plan give a file the same name in every shard and in a job started again.
    const bool planned = options.overwrite || options.skipExisting || options.shardCount > 1;
    const QStringList plan = plannedOutputs(folder, all);
    QStringList shardInputs = shardOf(all, options.shardIndex, options.shardCount);
    QStringList shardOutputs = shardOf(plan, options.shardIndex, options.shardCount);
    for (qsizetype i = 0; i < shardInputs.size(); ++i) {
        if (options.skipExisting && QFileInfo::exists(shardOutputs.at(i))) {
            skippedInputs << shardInputs.at(i);
            skippedOutputs << shardOutputs.at(i);
            continue;
        }
        inputs << shardInputs.at(i);
        outputs << (planned ? shardOutputs.at(i) : QString());
    }

    if (options.reportFile == QLatin1String("-")) {
        report.open(stdout, QIODevice::WriteOnly);
    } else if (!options.reportFile.isEmpty()) {
        report.setFileName(options.reportFile);
        if (!report.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            printError(translated("the report %1 cannot be written: %2")
                           .arg(options.reportFile, report.errorString()));
            return kBadCommand;
        }
    }
    return -1;
}

void HeadlessBatch::start() {
    const ProgressDisplay::Style style = options.quiet ? ProgressDisplay::Style::Quiet
                                         : standardErrorIsTerminal()
                                             ? ProgressDisplay::Style::Bar
                                             : ProgressDisplay::Style::Lines;
    progress = std::make_unique<ProgressDisplay>(
        style, static_cast<int>(inputs.size() + skippedInputs.size()));
    for (qsizetype i = 0; i < skippedInputs.size(); ++i) {
        writeReport(reportLine(skippedEntry(skippedInputs.at(i), skippedOutputs.at(i))));
        progress->fileSkipped(skippedInputs.at(i));
    }

    stops = new StopRequests(this);
    connect(stops, &StopRequests::stopRequested, this, &HeadlessBatch::onStopRequested);

    runner = new BatchRunner(this);
    runner->setJobs(options.jobs > 0 ? options.jobs : QThread::idealThreadCount());
    runner->setProgramFolder(childProgramFolder());
    runner->setOutputFolder(options.outputFolder);
    runner->setRuleSource([this](int) { return rules; });
    connect(runner, &BatchRunner::pageAnalysed, this, [this]() { progress->pageAnalysed(); });
    connect(runner, &BatchRunner::fileFinished, this, &HeadlessBatch::onFileFinished);
    connect(runner, &BatchRunner::finished, this, &HeadlessBatch::onFinished);

    QList<BatchFile> files;
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        files << BatchFile{inputs.at(i), -1, outputs.at(i)};
    }
    if (!runner->start(files)) {
        printError(translated("the private temporary folder could not be made."));
        QMetaObject::invokeMethod(
            this, [this]() { end(kSomeFailed); }, Qt::QueuedConnection);
    }
}

void HeadlessBatch::writeReport(const QByteArray& line) {
    if (report.isOpen()) {
        report.write(line);
        report.flush();
    }
}

void HeadlessBatch::onFileFinished(const FileResult& result) {
    anyFailed = anyFailed || !result.succeeded;
    writeReport(reportLine(reportEntry(result)));
    progress->fileFinished(result);
}

void HeadlessBatch::onFinished() {
    progress->finish(false);
    end(anyFailed ? kSomeFailed : kAllSucceeded);
}

void HeadlessBatch::onStopRequested() {
    if (ended) {
        return;
    }
    runner->disconnect(this);
    runner->cancel();
    progress->finish(true);
    end(kInterrupted);
}

void HeadlessBatch::end(int exitCode) {
    if (ended) {
        return;
    }
    ended = true;
    if (report.isOpen()) {
        report.flush();
    }
    emit done(exitCode);
}
