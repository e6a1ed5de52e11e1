#include "scripted_dialogs.h"

#include <QDialog>

void ScriptedDialogs::record(const QString& caption, const QString& dir, const QString& filter) {
    script->captions << caption;
    script->startDirs << dir;
    script->filters << filter;
}

QStringList ScriptedDialogs::openFileNames(QWidget*, const QString& caption, const QString& dir,
                                           const QString& filter) {
    record(caption, dir, filter);
    return script->fileListAnswers.isEmpty() ? QStringList() : script->fileListAnswers.takeFirst();
}

QString ScriptedDialogs::openFileName(QWidget*, const QString& caption, const QString& dir,
                                      const QString& filter) {
    record(caption, dir, filter);
    return script->fileAnswers.isEmpty() ? QString() : script->fileAnswers.takeFirst();
}

QString ScriptedDialogs::existingDirectory(QWidget*, const QString& caption, const QString& dir) {
    record(caption, dir, QString());
    return script->directoryAnswers.isEmpty() ? QString() : script->directoryAnswers.takeFirst();
}

void ScriptedDialogs::information(QWidget*, const QString& title, const QString& text) {
    record(title, QString(), text);
}

void ScriptedDialogs::warning(QWidget*, const QString& title, const QString& text) {
    record(title, QString(), text);
}

int ScriptedDialogs::runModal(QDialog& dialog) {
    ++script->modalRuns;
    if (!script->onModal) {
        return 0;
    }
    dialog.setResult(0);
    dialog.show();
    const int result = script->onModal(dialog);
    dialog.hide();
    return result;
}

bool ScriptedDialogs::question(QWidget*, const QString& title, const QString& text) {
    script->questions << title + QLatin1String(": ") + text;
    return !script->questionAnswers.isEmpty() && script->questionAnswers.takeFirst();
}

bool ScriptedDialogs::openUrl(const QUrl& url) {
    script->openedUrls << url;
    return script->urlsOpen;
}
