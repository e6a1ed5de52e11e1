#pragma once

#include <QString>

// What the window's progress bar shows of a batch: the files done of all, and for the file at
// work its pages analysed or its engine run. A file counts half done once its pages are analysed
// and whole once it is judged.
class BatchProgress {
  public:
    static constexpr int kMaximum = 1000;

    void start(int fileCount, int firstIndex);
    void fileStarted(int index);
    void pageAnalysed(int page, int pageCount);
    void engineStarted();
    void fileFinished();

    int value() const;
    QString text() const;

  private:
    enum class Step { Waiting, Pages, Engine };

    int files = 0;
    int done = 0;
    int current = -1;
    Step step = Step::Waiting;
    int page = 0;
    int pageCount = 0;
};
