#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>

#include "user_dialogs.h"

// Answers the window's questions from prepared lists instead of modal windows, and records what
// was asked. The test keeps the shared record; the window owns the ScriptedDialogs.
struct DialogScript {
    QList<QStringList> fileListAnswers;  // one answer per multiple-file dialog
    QStringList fileAnswers;             // one answer per single-file dialog
    QStringList directoryAnswers;        // one answer per folder dialog
    // Run in place of a modal run when set: the dialog is shown, the callback acts on it and
    // returns the result code (for example dialog.result() after it accepted itself).
    std::function<int(QDialog&)> onModal;

    QStringList captions;
    QStringList startDirs;
    QStringList filters;
    QList<QUrl> openedUrls;
    int modalRuns = 0;
    // What openUrl() answers (false: no browser could be started).
    bool urlsOpen = true;
    // One answer per question, "no" when none is left; the questions asked.
    QList<bool> questionAnswers;
    QStringList questions;
};

class ScriptedDialogs : public UserDialogs {
  public:
    explicit ScriptedDialogs(std::shared_ptr<DialogScript> script) : script(std::move(script)) {}

    QStringList openFileNames(QWidget* parent, const QString& caption, const QString& dir,
                              const QString& filter) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    QString existingDirectory(QWidget* parent, const QString& caption, const QString& dir) override;
    void information(QWidget* parent, const QString& title, const QString& text) override;
    void warning(QWidget* parent, const QString& title, const QString& text) override;
    bool question(QWidget* parent, const QString& title, const QString& text) override;
    int runModal(QDialog& dialog) override;
    bool openUrl(const QUrl& url) override;

  private:
    void record(const QString& caption, const QString& dir, const QString& filter);

    std::shared_ptr<DialogScript> script;
};
