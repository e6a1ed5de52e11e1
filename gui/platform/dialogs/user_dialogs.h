#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class QDialog;
class QWidget;

// Everything the window asks of the user or of the desktop that would otherwise block in a modal
// window or leave the program: file dialogs, message boxes, modal dialogs and the open-URL call.
// The program uses QtUserDialogs; tests answer these calls themselves.
class UserDialogs {
  public:
    virtual ~UserDialogs() = default;

    // Several existing files; empty when cancelled.
    virtual QStringList openFileNames(QWidget* parent, const QString& caption, const QString& dir,
                                      const QString& filter) = 0;
    // One existing file; empty when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    // An existing folder (folders only, symbolic links not resolved); empty when cancelled.
    virtual QString existingDirectory(QWidget* parent, const QString& caption,
                                      const QString& dir) = 0;
    virtual void information(QWidget* parent, const QString& title, const QString& text) = 0;
    virtual void warning(QWidget* parent, const QString& title, const QString& text) = 0;
    // A yes-or-no question; true for yes.
    virtual bool question(QWidget* parent, const QString& title, const QString& text) = 0;
    // Runs the dialog modally and returns its result code.
    virtual int runModal(QDialog& dialog) = 0;
    // Hands the address to the desktop's default application.
    virtual bool openUrl(const QUrl& url) = 0;
};
