#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "page_cache.h"
#include "page_render.h"
#include "picker_settings.h"
#include "rule_exchange.h"
#include "text_layer.h"

class PageRenderer;
class PageView;
class QButtonGroup;
class QHideEvent;
class QMouseEvent;
class QPushButton;
class QScrollArea;
class QShowEvent;
class QTableWidget;
class QWheelEvent;
class UserDialogs;

namespace Ui {
class Rules;
}

// The rule picker: shows one rendered page of the first listed file with a clickable box over
// every piece of its text, and turns clicked boxes into text rules (replacement text) or image
// rules (a picture and its size). "Save" writes the rule file of the chosen kind and hands the
// rows back through the RuleExchange; the main window then copies them into its position tables.
// Made once and reused for every opening, so the file shown last and the table rows stay; each
// opening shows the page's whole width. Pages are made by the page helper in the background: the
// window stays usable meanwhile, a new page request replaces one under way, and the last pages
// shown are kept, so that showing one again needs no new run.
// Its slots are spread over three source files: page and zoom (rules.cpp), the text boxes over
// the page (rules_overlay.cpp) and the rule tables (rules_editing.cpp).
class Rules : public QDialog {
    Q_OBJECT

  public:
    // The picker asks the user through `dialogs` (not owned) and reads its settings through
    // `settings`.
    Rules(RuleExchange& exchange, UserDialogs* dialogs, std::unique_ptr<PickerSettings> settings,
          QWidget* parent = nullptr);
    ~Rules() override;

    double zoom() const { return zoomFactor; }
    const Subtext& lastPickedBox() const { return pickedBox; }
    // A page is being made by the page helper.
    bool isRendering() const;

  public slots:
    void getTextPosition(QString sxml);
    Subtext getSubtextInfo(QString sRow);
    int getpos(QString sPos, QString sRow);
    QString gettext(QString sRow);
    void drawlabels();
    void setZoomout();
    void setZoomin();
    void textmessagebox();
    void addtorules();
    void generatePNGfile(QString pdffile, int page, QString pngfile);
    void setIniImage();
    void setPageChange();
    void setsave();
    void setpageup();
    void setpagedown();
    void setupdownVis();
    void removerule();
    void removeimagerule();
    void setopenimage();
    void setradiotext();
    void setradioimage();
    void setinirule();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void placeOnFirstScreen();
    void buildPageView();
    void setUpRuleTables();
    void connectToolRow();
    void setUpModeGroup();

    // Page and zoom.
    void requestPage(int page);
    void onPageRendered(const RenderedPage& page);
    void onPageFailed(const PageRenderOutcome& outcome);
    void displayPage(const RenderedPage& page);
    void showPage();
    void showPageMessage(const QString& message);
    void clearOverlay();
    void layOutBoxes();
    void zoomBy(double step);
    void zoomTo(double factor, const QPoint& anchor);
    void fitWidth();
    void connectPageChange();
    void disconnectPageChange();
    int pageCount() const;

    // Rule tables.
    void clearRuleTables();
    void appendTextRow(const QString& position, const QString& find, const QString& replace);
    void appendImageRow(const QString& position, const QString& find, const QString& imageFile,
                        const QString& width, const QString& height, bool sizesAsPlaceholders);
    bool saveTextRules();
    bool saveImageRules();

    std::unique_ptr<Ui::Rules> ui;
    RuleExchange& exchange;
    UserDialogs* dialogs;
    std::unique_ptr<PickerSettings> settings;

    // Display scale of the page image and the boxes over it; kept across pages, set to the
    // page's width when the first page of an opening is shown.
    double zoomFactor = 1.0;
    // The first page shown after an opening is fitted to the width of the page area.
    bool fitOnNextPage = false;
    QString pdfFile;
    // The file of the previous opening: rows are kept only while the same file is shown.
    QString shownFile;
    // How the last run of the page helper ended.
    PageRenderOutcome lastRender;

    QScrollArea* pageScroll = nullptr;
    PageView* pageView = nullptr;
    QPushButton* addButton = nullptr;
    PageRenderer* renderer = nullptr;
    // The page being made, under which it is kept when it comes.
    PageKey requestedPage;
    PageCache pageCache;
    // What the wheel turned (with Ctrl, over the page) that has not yet zoomed.
    int wheelZoomDelta = 0;

    // The page's text layer: its lines, the box of each line and the button over it (none for a
    // line without text).
    QStringList textLines;
    std::vector<Subtext> textBoxes;
    std::vector<QPushButton*> boxButtons;
    Subtext pickedBox;

    QButtonGroup* modeGroup = nullptr;
};
