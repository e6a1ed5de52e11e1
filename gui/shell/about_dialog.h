#pragma once

#include <QDialog>
#include <memory>

class UserDialogs;

namespace Ui {
class AboutDialog;
}

// The fixed-size box with the product name and version, the rights notice and the links to the
// home page and the support address.
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    // The links open through the given desktop interface, which must outlive the dialog.
    explicit AboutDialog(UserDialogs* dialogs);
    ~AboutDialog() override;

    static QString homePageAddress();
    static QString supportMailAddress();

  public slots:
    void openMainpage(QString address);
    void openMailpage(QString mail);

  private:
    std::unique_ptr<Ui::AboutDialog> ui;
    UserDialogs* dialogs;
};
