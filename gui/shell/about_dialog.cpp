#include "about_dialog.h"

#include <QPalette>
#include <QPixmap>
#include <QUrl>

#include "ui_about_dialog.h"
#include "user_dialogs.h"

QString AboutDialog::homePageAddress() {
    return QStringLiteral("https://relettra.example.org/");
}

QString AboutDialog::supportMailAddress() {
    return QStringLiteral("support@relettra.example.org");
}

AboutDialog::AboutDialog(UserDialogs* dialogs)
    : QDialog(nullptr), ui(std::make_unique<Ui::AboutDialog>()), dialogs(dialogs) {
    ui->setupUi(this);
    setFixedSize(size());

    // The labels hand their links to the slots below instead of opening them themselves, so a
    // click opens its address exactly once, through the window's desktop interface.
    const QString home = homePageAddress();
    ui->label_homepage->setText(QStringLiteral("<a href=\"%1\"> %1</a>").arg(home));
    connect(ui->label_homepage, &QLabel::linkActivated, this, &AboutDialog::openMainpage);

    QPalette palette = this->palette();
    palette.setBrush(QPalette::Window,
                     QBrush(QPixmap(QStringLiteral(":/iconoption/icons/graybackgr.png"))
                                .scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    setPalette(palette);

    const QString mail = supportMailAddress();
    ui->label_mail->setText(QStringLiteral("<a href=\"mailto:%1\"> %1</a>").arg(mail));
    connect(ui->label_mail, &QLabel::linkActivated, this, &AboutDialog::openMailpage);
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::openMainpage(QString address) {
    dialogs->openUrl(QUrl(address));
}

void AboutDialog::openMailpage(QString /*mail*/) {
    dialogs->openUrl(QUrl(QStringLiteral("mailto:") + supportMailAddress()));
}
