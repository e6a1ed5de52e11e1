#include "qt_user_dialogs.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

QStringList QtUserDialogs::openFileNames(QWidget* parent, const QString& caption,
                                         const QString& dir, const QString& filter) {
    return QFileDialog::getOpenFileNames(parent, caption, dir, filter);
}

QString QtUserDialogs::openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString QtUserDialogs::existingDirectory(QWidget* parent, const QString& caption,
                                         const QString& dir) {
    return QFileDialog::getExistingDirectory(
        parent, caption, dir, QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

void QtUserDialogs::information(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text);
}

void QtUserDialogs::warning(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::warning(parent, title, text);
}

int QtUserDialogs::runModal(QDialog& dialog) {
    return dialog.exec();
}

bool QtUserDialogs::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool QtUserDialogs::question(QWidget* parent, const QString& title, const QString& text) {
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}
