#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTableWidget>
#include <functional>
#include <memory>

#include "text_layer.h"

class PageView;
class Process;
class Rules;
struct DialogScript;

// The rule picker as the main window opens it, with a stand-in page helper in a fresh working
// folder: it records each run's arguments in "calls.txt", waits the seconds in "delay" (when
// there), copies "page.png" and "page.htm" of the working directory to the names the real helper
// writes, records "done <page>" in "done.txt" and ends with the code in "exit" (0 when there is
// none).
namespace pickerfixture {

// The four words of the stand-in's text layer, with the frame lines the real helper writes after
// them.
extern const char* const kLayer;
extern const Subtext kTotal;
extern const Subtext kAmpersand;
extern const Subtext kColonInside;
extern const Subtext kDate;
// The page image's size: an A4 page at 150 dpi, white with a black rectangle on each word's box.
inline constexpr int kPageWidth = 1240;
inline constexpr int kPageHeight = 1754;

void writeBytes(const QString& path, const QByteArray& bytes);
QByteArray readBytes(const QString& path);
// The text of every row's item in the column.
QStringList column(const QTableWidget& table, int col);

template <typename T>
T* child(const QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (!found) {
        qWarning("no child named %s", name);
    }
    return found;
}
QPushButton* button(const QObject& parent, const char* name);
QTableWidget* table(const QObject& parent, const char* name);
template <typename T>
T* cell(const QObject& parent, const char* tableName, int row, int col) {
    return qobject_cast<T*>(table(parent, tableName)->cellWidget(row, col));
}
PageView* pageView(const QObject& rules);

QList<QPushButton*> boxButtons(const Rules& rules);
// Waits until the page's four boxes are there; false after `timeoutMs`.
bool waitForBoxes(const Rules& rules, int timeoutMs = 10000);
// The button over the box of `word` at the picker's zoom; none when there is none there.
QPushButton* box(const Rules& rules, const Subtext& word);
// Clicks the box and "Add it to the table".
void pick(const Rules& rules, const Subtext& word);

class PickerHarness {
  public:
    // A fresh working folder with the stand-in helper and its page, a fresh exchange record and
    // a main window answering its dialogs from `script`.
    void setUp(const QString& folderName);
    void tearDown();

    // Makes "doc<pages>.pdf" and lists it first with the page count in its "Page" cell.
    QString listPdf(int pages);
    // Lists `path` first with the given "Page" cell.
    void listFile(const QString& path, const QString& pageCell);
    // Opens the picker through "Settings"; `act` works on the open dialog, whose result is what
    // the modal run returns.
    void openPicker(const std::function<void(Rules&)>& act);
    // The stand-in's runs, one line of arguments each.
    QStringList helperCalls() const;
    // The pages the stand-in's runs wrote, "done <page>" each.
    QStringList finishedRuns() const;
    // The seconds each run of the stand-in waits before writing its page.
    void setHelperDelay(const QString& seconds);

    QString dir;
    std::shared_ptr<DialogScript> script;
    std::unique_ptr<Process> window;
};

}  // namespace pickerfixture
