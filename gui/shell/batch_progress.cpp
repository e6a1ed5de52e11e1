#include "batch_progress.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("BatchProgress", text);
}

}  // namespace

void BatchProgress::start(int fileCount, int firstIndex) {
    files = fileCount;
    done = firstIndex;
    current = -1;
    step = Step::Waiting;
}

void BatchProgress::fileStarted(int index) {
    current = index;
    step = Step::Waiting;
    page = 0;
    pageCount = 0;
}

void BatchProgress::pageAnalysed(int analysed, int count) {
    step = Step::Pages;
    page = analysed;
    pageCount = count;
}

void BatchProgress::engineStarted() {
    step = Step::Engine;
}

void BatchProgress::fileFinished() {
    ++done;
    current = -1;
    step = Step::Waiting;
}

int BatchProgress::value() const {
    if (files <= 0) {
        return 0;
    }
    double part = 0;
    if (step == Step::Pages && pageCount > 0) {
        part = 0.5 * page / pageCount;
    } else if (step == Step::Engine) {
        part = 0.5;
    }
    return std::clamp(static_cast<int>((done + part) * kMaximum / files), 0, kMaximum);
}

QString BatchProgress::text() const {
    if (current < 0) {
        return translated("%1 of %2 files done").arg(done).arg(files);
    }
    const QString file = translated("File %1 of %2").arg(current + 1).arg(files);
    switch (step) {
        case Step::Pages:
            return translated("%1: page %2 of %3 analysed").arg(file).arg(page).arg(pageCount);
        case Step::Engine:
            return translated("%1: the engine applies the rules").arg(file);
        case Step::Waiting:
            break;
    }
    return file;
}
