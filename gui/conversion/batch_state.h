#pragma once

#include <QList>
#include <QString>

#include "content_rules.h"
#include "rule_kind.h"

class QTableWidgetItem;

// Which batch is under way.
enum class BatchFlow { Position, Content };

// What a file of a batch is waiting for.
enum class BatchStage {
    Idle,       // no file in progress (between files, or no batch)
    Splitting,  // the page helper writes the file's text layers
    Analysing,  // the text layers are read page by page
    Engine,     // the engine applies the rules
};

// The state of the batch that the "Replace" buttons start: which file comes next, the file in
// progress and, for the content batch, how far its page analysis is.
struct BatchState {
    // Row of the file list whose file comes next; 0 while no batch has begun.
    int position = 0;
    BatchFlow flow = BatchFlow::Position;
    BatchStage stage = BatchStage::Idle;
    // The window's controls are locked between the first file and "Conversion Finished.";
    // sortingBefore keeps whether the file list sorted by header before.
    bool controlsLocked = false;
    bool sortingBefore = false;

    // The file in progress: the path item of its row (its result goes to the row that holds the
    // item), its path, its output and the kind of rule file used.
    QTableWidgetItem* fileItem = nullptr;
    QString inputPath;
    QString outputPath;
    RuleKind kind = RuleKind::Text;
    // Set when the file's rule file could not be written in full: the engine is then not started,
    // since it would apply an incomplete set of rules and the file would pass for done.
    bool ruleFileFailed = false;
    // Content batch: pages whose text layer could not be read; their places were not searched,
    // so the file does not pass for done.
    int unreadPages = 0;
    // How many changes the file list had seen when a batch was halted by a failed check; a batch
    // taken up again after the list changed starts from its first file.
    int listChangesAtHalt = 0;

    // Content batch: the rules taken for this file and the next page to analyse (1-based).
    QList<ContentRule> contentRules;
    int currentPage = 1;
};
