#include "child_run.h"

#include <QDebug>
#include <QProcess>
#include <QTimer>

ChildRun::ChildRun(QObject* parent) : QObject(parent), limit(new QTimer(this)) {
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, this, [this]() {
        if (!process || !active) {
            return;
        }
        const QString program = process->program();
        active = false;
        release();
        emit timedOut(program, timeLimitMs);
    });
}

ChildRun::~ChildRun() {
    stop();
}

void ChildRun::release() {
    limit->stop();
    if (!process) {
        return;
    }
    process->disconnect(this);
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(3000);
    }
    // Later, not now: the process may be the sender of the signal that is being handled.
    process->deleteLater();
    process = nullptr;
}

void ChildRun::stop() {
    release();
    active = false;
}

void ChildRun::start(const HelperCommand& command) {
    release();
    qDebug().noquote() << command.commandLine();

    auto* run = new QProcess(this);
    process = run;
    active = true;
    run->setProcessChannelMode(QProcess::MergedChannels);
    connect(run, &QProcess::finished, this, [this, run](int exitCode, QProcess::ExitStatus status) {
        if (run != process || !active) {
            return;
        }
        limit->stop();
        active = false;
        emit finished(exitCode, status != QProcess::NormalExit, QString::fromUtf8(run->readAll()));
    });
    connect(run, &QProcess::errorOccurred, this, [this, run](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart || run != process) {
            return;
        }
        const QString program = run->program();
        const QString reason = run->errorString();
        limit->stop();
        QMetaObject::invokeMethod(
            this,
            [this, run, program, reason]() {
                if (run != process || !active) {
                    return;
                }
                active = false;
                emit failedToStart(program, reason);
            },
            Qt::QueuedConnection);
    });
    limit->start(timeLimitMs);
    run->start(command.program, command.arguments, QIODevice::ReadWrite);
}
