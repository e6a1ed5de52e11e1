#pragma once

#include "user_dialogs.h"

// The program's answers: Qt's static file dialogs and message boxes, QDialog::exec and
// QDesktopServices::openUrl.
class QtUserDialogs : public UserDialogs {
  public:
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
};
