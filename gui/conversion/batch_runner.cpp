#include "batch_runner.h"

#include <QDir>
#include <algorithm>

#include "child_run.h"
#include "file_job.h"
#include "output_naming.h"
#include "run_folder.h"

BatchRunner::BatchRunner(QObject* parent)
    : QObject(parent), timeLimitMs(ChildRun::kDefaultTimeLimitMs) {}

BatchRunner::~BatchRunner() {
    cancel();
}

void BatchRunner::setJobs(int count) {
    if (!running) {
        jobCount = std::max(1, count);
    }
}

bool BatchRunner::makeJobs() {
    const QString runFolder = runFolderPath();
    if (runFolder.isEmpty()) {
        return false;
    }
    if (jobs.size() == jobCount) {
        return true;
    }
    qDeleteAll(jobs);
    jobs.clear();
    for (int slot = 0; slot < jobCount; ++slot) {
        const QString folder =
            jobCount == 1 ? runFolder : runFolder + QStringLiteral("/job-%1").arg(slot + 1);
        auto* job = new FileJob(folder, this);
        connect(job, &FileJob::message, this, &BatchRunner::message);
        connect(job, &FileJob::pageAnalysed, this, &BatchRunner::pageAnalysed);
        connect(job, &FileJob::engineStarted, this, &BatchRunner::engineStarted);
        connect(job, &FileJob::finished, this, &BatchRunner::onJobFinished);
        jobs << job;
    }
    return true;
}

bool BatchRunner::start(const QList<BatchFile>& files, int from) {
    if (running || !makeJobs()) {
        return false;
    }
    for (FileJob* job : jobs) {
        job->setProgramFolder(programFolder);
        job->setTimeLimit(timeLimitMs);
    }
    batchFiles = files;
    takenOutputs.clear();
    next = std::max(0, from);
    running = true;
    halting = false;
    launch();
    return true;
}

void BatchRunner::cancel() {
    for (FileJob* job : jobs) {
        job->cancel();
    }
    running = false;
}

QString BatchRunner::outputFor(const BatchFile& file) {
    QString output = file.outputPath;
    if (output.isEmpty()) {
        output = firstFreeOutputPath(outputFolder, file.inputPath, [this](const QString& path) {
            return takenOutputs.contains(path) || pathExists(path);
        });
    }
    takenOutputs.insert(output);
    return output;
}

void BatchRunner::launch() {
    const auto idle = [](const FileJob* job) { return !job->isActive(); };
    while (running && !halting && next < batchFiles.size()) {
        const auto free = std::find_if(jobs.begin(), jobs.end(), idle);
        if (free == jobs.end()) {
            return;
        }
        if (fileCheck && !fileCheck(next)) {
            halting = true;
            break;
        }
        const int index = next++;
        const BatchFile& file = batchFiles.at(index);
        emit fileStarted(index, file.inputPath);
        if (!running) {
            return;
        }
        const FileRules rules = ruleSource ? ruleSource(index) : FileRules();
        (*free)->start(index, file, outputFor(file), rules);
    }
    if (!running ||
        std::any_of(jobs.begin(), jobs.end(), [](const FileJob* job) { return job->isActive(); })) {
        return;
    }
    running = false;
    if (halting) {
        emit halted(next);
    } else {
        emit finished();
    }
}

void BatchRunner::onJobFinished(const FileResult& result) {
    emit fileFinished(result);
    launch();
}
