#include "file_job.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "child_run.h"
#include "content_leftovers.h"
#include "engine_exit.h"
#include "file_verdict.h"
#include "helper_command.h"
#include "info_file.h"
#include "output_naming.h"
#include "page_analysis.h"
#include "page_layer_request.h"
#include "rule_file_lines.h"
#include "rule_order.h"

namespace {

const char* const kPageBase = "split";
const char* const kContentRuleFile = "textall.txt";
// The result of the text-rule run that the image-rule run takes as its input.
const char* const kTextStageFile = "text-stage.pdf";

QString translated(const char* text) {
    return QCoreApplication::translate("FileJob", text);
}

// The text-rule lines of both kinds in the order the engine applies them. Each list is in that
// order already; together they are sorted again (stably, so each keeps its own order at a place).
QStringList inApplyingOrder(const QStringList& positionLines, const QStringList& contentLines) {
    if (positionLines.isEmpty() || contentLines.isEmpty()) {
        return positionLines.isEmpty() ? contentLines : positionLines;
    }
    const QStringList all = positionLines + contentLines;
    QList<PositionFields> places;
    for (const QString& line : all) {
        QString problem;
        places << readTextRuleLine(line, problem).at;
    }
    QStringList ordered;
    for (int i : applyingOrder(places)) {
        ordered << all.at(i);
    }
    return ordered;
}

}  // namespace

FileJob::FileJob(const QString& folder, QObject* parent)
    : QObject(parent),
      folder(folder),
      run(new ChildRun(this)),
      pageRequest(new PageLayerRequest(this)) {
    connect(run, &ChildRun::finished, this, &FileJob::onRunFinished);
    connect(run, &ChildRun::failedToStart, this, &FileJob::onFailedToStart);
    connect(run, &ChildRun::timedOut, this, &FileJob::onTimedOut);
    connect(pageRequest, &PageLayerRequest::finished, this, &FileJob::gethtm);
}

FileJob::~FileJob() {
    cancel();
}

void FileJob::setTimeLimit(int milliseconds) {
    run->setTimeLimit(milliseconds);
}

void FileJob::start(int index, const BatchFile& batchFile, const QString& outputPath,
                    const FileRules& fileRules) {
    clock.start();
    file = batchFile;
    rules = fileRules;
    result = FileResult();
    result.index = index;
    result.inputPath = file.inputPath;
    result.outputPath = outputPath;
    currentPage = 1;
    unreadPages = 0;
    foundTextLines.clear();
    foundImageLines.clear();
    engineProblem.clear();
    textReport = RuleReport();
    imageReport = RuleReport();
    for (const QString& notice : rules.notices) {
        emit message(index, notice);
    }
    if (!QDir().mkpath(folder)) {
        stage = Stage::PageCount;
        fail(translated("the temporary folder %1 could not be made.").arg(folder));
        return;
    }
    // A file whose pages are searched learns its page count from the page helper; only a count
    // that it cannot give is asked of the information helper.
    if (file.pageCount < 0 && !rules.searchPages) {
        result.pageCount = -1;
        replacealltext();
        return;
    }
    afterPageCount();
}

void FileJob::cancel() {
    run->stop();
    pageRequest->cancel();
    if (stage == Stage::TextEngine || stage == Stage::ImageEngine) {
        removeUnfinishedOutput(
            engineOutput(stage == Stage::TextEngine ? RuleKind::Text : RuleKind::Image));
    }
    removeStageFile();
    stage = Stage::Idle;
}

QString FileJob::folderFile(const QString& name) const {
    return folder + QLatin1Char('/') + name;
}

void FileJob::readPageCount() {
    stage = Stage::PageCount;
    const QString infoFile = folderFile(QLatin1String(kInfoFileName));
    QFile::remove(infoFile);
    run->start(dossalyInfoCommand(programFolder, file.inputPath, infoFile));
}

void FileJob::onPageCountRead(int exitCode, bool crashed, const QString& output) {
    const QString infoPath = folderFile(QLatin1String(kInfoFileName));
    QFile info(infoPath);
    const QString pageCount = info.open(QIODevice::ReadOnly)
                                  ? pageCountFromInfo(QString::fromUtf8(info.readAll()))
                                  : QString();
    info.close();
    QFile::remove(infoPath);
    if (crashed || exitCode != 0 || pageCount.isEmpty()) {
        const QString said = output.trimmed().section(QLatin1Char('\n'), 0, 0);
        fail(crashed ? translated("the information helper stopped while reading the file.")
                     : translated("the file could not be read (exit code %1): %2")
                           .arg(exitCode)
                           .arg(said));
        return;
    }
    file.pageCount = pageCount.toInt();
    result.pageCount = file.pageCount;
    getAlltheText();
}

void FileJob::afterPageCount() {
    result.pageCount = std::max(file.pageCount, 0);
    if (rules.searchPages) {
        // Nothing of the previous file may be read as this file's.
        removeContentLeftovers(folder, QLatin1String(kPageBase), QLatin1String(kContentRuleFile));
        splitPage();
        return;
    }
    replacealltext();
}

int FileJob::writtenPageLayers() const {
    return static_cast<int>(
        QDir(folder)
            .entryList({QLatin1String(kPageBase) + QLatin1String("_pg_*.htm")}, QDir::Files)
            .size());
}

void FileJob::splitPage() {
    stage = Stage::Splitting;
    run->start(hevritAllPagesCommand(programFolder, file.inputPath,
                                     folderFile(QLatin1String(kPageBase) + QLatin1String(".png")),
                                     true));
}

void FileJob::onPagesWritten(int exitCode, bool crashed, const QString& output) {
    // Exit code 3: some pages could not be read (each is noted when it is analysed); 1 and 2:
    // the file could not be read at all, and there is nothing to search.
    if (crashed || (exitCode != 0 && exitCode != 3)) {
        const QString said = output.trimmed().section(QLatin1Char('\n'), 0, 0);
        fail(crashed ? translated("the page helper stopped while reading the file.")
                     : translated("the page helper could not read the file (exit code %1): %2")
                           .arg(exitCode)
                           .arg(said));
        return;
    }
    if (file.pageCount < 0) {
        // Every page written: one text layer each. Otherwise the pages that failed leave holes,
        // and the count must come from the information helper.
        if (exitCode != 0) {
            readPageCount();
            return;
        }
        file.pageCount = writtenPageLayers();
        result.pageCount = file.pageCount;
    }
    getAlltheText();
}

void FileJob::getAlltheText() {
    stage = Stage::Analysing;
    if (currentPage > file.pageCount) {
        replacealltext();
        return;
    }
    pageRequest->get(folderFile(QString::asprintf("%s_pg_%04d.htm", kPageBase, currentPage)));
    emit message(result.index, translated("Analyzing page %1").arg(currentPage));
    ++currentPage;
}

void FileJob::gethtm() {
    if (stage != Stage::Analysing) {
        return;
    }
    if (pageRequest->failed()) {
        // The page adds no rule; the user learns why nothing was replaced there.
        emit message(result.index,
                     translated("The text of page %1 could not be read.").arg(currentPage - 1));
        ++unreadPages;
    }
    getTextPosition(pageRequest->text());
}

void FileJob::getTextPosition(const QString& layer) {
    const int page = currentPage - 1;
    const QList<Subtext> boxes = readPageBoxes(layer);
    if (boxes.size() == kMaxPageLayerLines && textLayerLines(layer).size() > kMaxPageLayerLines) {
        emit message(result.index,
                     translated("Page %1 holds more than %2 words; only the first %2 were "
                                "searched.")
                         .arg(page)
                         .arg(kMaxPageLayerLines));
    }
    foundTextLines += contentRuleLines(RuleKind::Text, page, boxes, rules.textContent);
    foundImageLines += contentRuleLines(RuleKind::Image, page, boxes, rules.imageContent);
    ++result.pagesAnalysed;
    emit pageAnalysed(result.index, page, file.pageCount);
    getAlltheText();
}

void FileJob::replacealltext() {
    if (rules.searchPages) {
        emit message(result.index, file.inputPath);
    }
    if (rules.textRun) {
        startEngine(RuleKind::Text);
    } else if (rules.imageRun) {
        startEngine(RuleKind::Image);
    } else {
        judgeEngineRuns();
    }
}

QString FileJob::ruleFile(RuleKind kind) const {
    // The rule files keep the names the engine's callers have always used: the content rule file
    // for a file whose pages were searched, else the position rule file of its kind.
    if (rules.searchPages && (kind == RuleKind::Text || !rules.textRun)) {
        return folderFile(QLatin1String(kContentRuleFile));
    }
    return folderFile(kind == RuleKind::Text ? QStringLiteral("rules.txt")
                                             : QStringLiteral("imagerule.txt"));
}

QString FileJob::engineInput(RuleKind kind) const {
    return kind == RuleKind::Image && rules.textRun ? folderFile(QLatin1String(kTextStageFile))
                                                    : file.inputPath;
}

QString FileJob::engineOutput(RuleKind kind) const {
    return kind == RuleKind::Text && rules.imageRun ? folderFile(QLatin1String(kTextStageFile))
                                                    : result.outputPath;
}

bool FileJob::writeEngineRules(RuleKind kind) {
    const QStringList lines = kind == RuleKind::Text
                                  ? inApplyingOrder(rules.textLines, foundTextLines)
                                  : rules.imageLines + foundImageLines;
    result.ruleLines += lines;
    return writeRuleFile(ruleFile(kind), lines);
}

void FileJob::startEngine(RuleKind kind) {
    stage = kind == RuleKind::Text ? Stage::TextEngine : Stage::ImageEngine;
    if (!writeEngineRules(kind)) {
        // The engine would apply an incomplete set of rules, and the file would pass for done.
        fail(translated("The rule file %1 could not be written.").arg(ruleFile(kind)));
        return;
    }
    const QString mode = QLatin1String(kind == RuleKind::Text ? kTextRulesMode : kImageRulesMode);
    emit engineStarted(result.index);
    run->start(
        engineCommand(programFolder, engineInput(kind), mode, engineOutput(kind), ruleFile(kind)));
}

void FileJob::onRunFinished(int exitCode, bool crashed, const QString& output) {
    switch (stage) {
        case Stage::PageCount:
            onPageCountRead(exitCode, crashed, output);
            break;
        case Stage::Splitting:
            onPagesWritten(exitCode, crashed, output);
            break;
        case Stage::TextEngine:
        case Stage::ImageEngine:
            onEngineFinished(exitCode, crashed, output);
            break;
        case Stage::Idle:
        case Stage::Analysing:
            break;
    }
}

void FileJob::onEngineFinished(int exitCode, bool crashed, const QString& output) {
    const bool textStage = stage == Stage::TextEngine;
    const RuleKind kind = textStage ? RuleKind::Text : RuleKind::Image;
    result.engineRan = !crashed;
    result.engineExitCode = exitCode > 127 ? exitCode - 256 : exitCode;
    if (crashed) {
        // An engine that stopped halfway leaves its unfinished output behind.
        removeUnfinishedOutput(engineOutput(kind));
    }
    (textStage ? textReport : imageReport) = readRuleReport(output);
    engineProblem = engineExitProblem(kind, exitCode, crashed, output);
    if (textStage && rules.imageRun && engineProblem.isEmpty() &&
        QFileInfo::exists(engineOutput(RuleKind::Text))) {
        startEngine(RuleKind::Image);
        return;
    }
    judgeEngineRuns();
}

void FileJob::judgeEngineRuns() {
    EngineOutcome outcome;
    outcome.outputWritten = QFileInfo::exists(result.outputPath);
    outcome.pageCount = file.pageCount;
    outcome.unreadPages = unreadPages;
    outcome.textRun = rules.textRun;
    outcome.imageRun = rules.imageRun;
    outcome.textReport = textReport;
    outcome.imageReport = imageReport;
    outcome.engineProblem = engineProblem;
    outcome.noOccurrences = rules.searchPages && foundTextLines.isEmpty() &&
                            foundImageLines.isEmpty() && rules.textLines.isEmpty() &&
                            rules.imageLines.isEmpty();
    judgeEngineOutcome(outcome, result);
    if (result.report.rules.size() != result.ruleLines.size()) {
        result.ruleLines.clear();
    }
    finish();
}

void FileJob::onFailedToStart(const QString& program, const QString& reason) {
    judgeFailedStart(program, reason, result);
    finish();
}

void FileJob::onTimedOut(const QString& program, int timeLimitMs) {
    if (stage == Stage::TextEngine || stage == Stage::ImageEngine) {
        removeUnfinishedOutput(
            engineOutput(stage == Stage::TextEngine ? RuleKind::Text : RuleKind::Image));
    }
    fail(translated("%1 did not finish within %2 seconds and was stopped.")
             .arg(program)
             .arg(timeLimitMs / 1000));
}

void FileJob::fail(const QString& reason) {
    judgeFailure(reason, result);
    const Stage failedAt = stage;
    QMetaObject::invokeMethod(
        this,
        [this, failedAt]() {
            if (stage == failedAt) {
                finish();
            }
        },
        Qt::QueuedConnection);
}

void FileJob::finish() {
    removeStageFile();
    stage = Stage::Idle;
    result.seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    emit finished(result);
}

void FileJob::removeStageFile() {
    if (rules.textRun && rules.imageRun) {
        const QString stageFile = folderFile(QLatin1String(kTextStageFile));
        QFile::remove(stageFile);
        removeUnfinishedOutput(stageFile);
    }
}
