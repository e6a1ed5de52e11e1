#pragma once

#include <QStringList>
#include <QTableWidget>
#include <memory>

#include "process.h"
#include "scripted_dialogs.h"

// A main window in a fresh working folder, with the real child programs of the run folder beside
// the test program, for the batch tests: files are added through the Add button (the real
// page-count pass fills their "Page" cells) and a batch is run through its "Replace" button.
class BatchWindow {
  public:
    // `programs` are the run folder's programs linked beside the test program.
    BatchWindow(const QString& name, const QStringList& programs);

    QString dir;
    // Where the window looks up its child programs.
    QString programDir;
    std::shared_ptr<DialogScript> script;
    std::unique_ptr<Process> window;

    template <typename T>
    T* child(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    // Copies a kit file to each path (folders made as needed) and returns the paths.
    QStringList copyKitFile(const QString& kitName, const QStringList& paths) const;
    // Adds the files and waits until their page counts are read.
    void addFiles(const QStringList& paths);
    // Clicks the button and waits for "Conversion Finished.".
    void runBatch(const char* replaceButton);

    QStringList paneLines() const;
    QStringList resultCells() const;
};

// The "Position" text of a kit word as the rule picker would write it: pixels of the page at
// 150 dpi, the top `size` points above the baseline, the height `size`.
QString kitPositionText(const QString& kitName, int page, const QString& word, int size);

// Whether `needles` appear in `lines` in this order (other lines may stand between them).
bool inOrder(const QStringList& lines, const QStringList& needles);

// What a tool prints on standard output (pdftotext, pdfimages).
QString toolOutput(const QString& tool, const QStringList& arguments);

// A row of text cells.
void appendRow(QTableWidget& table, const QStringList& cells);

// Adds a content rule row through "Add Rule(s)" and types its cells (the image cell is the
// button's text).
void addContentRule(BatchWindow& w, const QStringList& cells);
