// The rule picker as people use it: a slow page helper never freezes the window and a new page
// request replaces the one under way, pages shown before need no new run, the opening shows the
// page's whole width, zoom keeps every box over its word, and the window's size is kept from one
// start to the next.
#include <QElapsedTimer>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

#include "page_view.h"
#include "page_zoom.h"
#include "picker_fixture.h"
#include "process.h"
#include "rules.h"
#include "scripted_dialogs.h"
#include "settings_store.h"
#include "test_environment.h"

using namespace pickerfixture;

namespace {

QScrollArea* pageScroll(const Rules& rules) {
    return child<QScrollArea>(rules, "pageScroll");
}

// Whether the painted page is black in the middle of the box and white just outside it on the
// right, at the picker's factor: the box stands over its word.
bool paintedUnderBox(const Rules& rules, const QRect& boxOnView) {
    PageView* view = pageView(rules);
    const QRect around = boxOnView.adjusted(0, 0, 8, 0) & view->rect();
    const QImage painted = view->grab(around).toImage();
    const QPoint middle = boxOnView.center() - around.topLeft();
    const QPoint beside(boxOnView.right() + 5 - around.left(), middle.y());
    return painted.pixelColor(middle) == Qt::black && painted.pixelColor(beside) == Qt::white;
}

}  // namespace

class PickerRenderingTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void slowRender_keepsTheWindowResponsiveAndSaysWhichPageIsRendered();
    void newPageRequest_stopsTheRunningRenderAndShowsOnlyTheNewPage();
    void pageShownAgain_startsNoHelperUntilTheFileChanges();
    void opening_fitsThePageWidthWithoutSidewaysScrolling();
    void zoom_keepsEveryBoxOverItsWordAndShowsThePercentage();
    void ctrlWheelAndKeys_zoomKeepingThePointUnderThePointer();
    void pickerSize_isKeptFromOneStartToTheNext();

  private:
    PickerHarness harness;
};

void PickerRenderingTest::init() {
    harness.setUp(QStringLiteral("rendering"));
}

void PickerRenderingTest::cleanup() {
    harness.tearDown();
}

void PickerRenderingTest::slowRender_keepsTheWindowResponsiveAndSaysWhichPageIsRendered() {
    harness.listPdf(3);
    harness.setHelperDelay(QStringLiteral("1.5"));
    // A timer ticking from before the opening to the page's arrival: the longest pause between
    // two ticks is the longest time the window did not answer.
    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestPause = 0;
    int ticks = 0;
    QTimer ticker;
    ticker.setInterval(20);
    connect(&ticker, &QTimer::timeout, [&] {
        longestPause = std::max(longestPause, clock.elapsed() - lastTick);
        lastTick = clock.elapsed();
        ++ticks;
    });
    clock.start();
    ticker.start();
    harness.openPicker([&](Rules& rules) {
        longestPause = std::max(longestPause, clock.elapsed() - lastTick);
        QVERIFY(rules.isRendering());
        QVERIFY(!pageView(rules)->hasImage());
        QCOMPARE(pageView(rules)->message(), QStringLiteral("Rendering page 1…"));
        // Another control is handled while the page is made.
        child<QRadioButton>(rules, "radioButton_image")->click();
        QVERIFY(table(rules, "tableWidget_rule_image")->isEnabled());
        QVERIFY(rules.isRendering());
        QVERIFY(waitForBoxes(rules));
        QVERIFY(pageView(rules)->hasImage());
    });
    ticker.stop();
    QVERIFY2(longestPause < 500, qPrintable(QString::number(longestPause)));
    QVERIFY2(ticks >= 30, qPrintable(QString::number(ticks)));
}

void PickerRenderingTest::newPageRequest_stopsTheRunningRenderAndShowsOnlyTheNewPage() {
    harness.listPdf(3);
    harness.setHelperDelay(QStringLiteral("1"));
    harness.openPicker([&](Rules& rules) {
        QVERIFY(QTest::qWaitFor([&] { return harness.helperCalls().size() == 1; }));
        button(rules, "pushButton_up")->click();
        QCOMPARE(pageView(rules)->message(), QStringLiteral("Rendering page 2…"));
        QVERIFY(waitForBoxes(rules));
        pick(rules, kTotal);
        QCOMPARE(column(*table(rules, "tableWidget_rule"), 0), QStringList{"P2 (72 140 210 12)"});
    });
    // Long enough for the first run to have ended had it not been stopped.
    QTest::qWait(1500);
    QCOMPARE(harness.helperCalls().size(), 2);
    QCOMPARE(harness.finishedRuns(), QStringList{"done 2"});
}

void PickerRenderingTest::pageShownAgain_startsNoHelperUntilTheFileChanges() {
    const QString pdf = harness.listPdf(3);
    harness.openPicker([](Rules& rules) {
        QVERIFY(waitForBoxes(rules));
        button(rules, "pushButton_up")->click();
        QVERIFY(waitForBoxes(rules));
        // Back to a page shown before: there at once.
        button(rules, "pushButton_down")->click();
        QCOMPARE(boxButtons(rules).size(), 4);
        QVERIFY(!rules.isRendering());
    });
    QCOMPARE(harness.helperCalls().size(), 2);
    harness.openPicker([](Rules& rules) {
        QCOMPARE(boxButtons(rules).size(), 4);
        QVERIFY(pageView(rules)->hasImage());
        QVERIFY(!rules.isRendering());
    });
    QCOMPARE(harness.helperCalls().size(), 2);

    // The same file written anew is made anew.
    writeMinimalPdf(pdf, 4);
    harness.openPicker([](Rules& rules) {
        QVERIFY(rules.isRendering());
        QVERIFY(waitForBoxes(rules));
    });
    QCOMPARE(harness.helperCalls().size(), 3);
}

void PickerRenderingTest::opening_fitsThePageWidthWithoutSidewaysScrolling() {
    harness.listPdf(1);
    for (int opening = 0; opening < 2; ++opening) {
        harness.openPicker([](Rules& rules) {
            QVERIFY(waitForBoxes(rules));
            const QWidget* visible = pageScroll(rules)->viewport();
            // The scroll bar a tall page needs comes from the event loop.
            QTRY_VERIFY2(pageView(rules)->width() <= visible->width() &&
                             pageView(rules)->width() >= visible->width() - 1,
                         qPrintable(QStringLiteral("%1 in %2")
                                        .arg(pageView(rules)->width())
                                        .arg(visible->width())));
            QCOMPARE(pageScroll(rules)->horizontalScrollBar()->maximum(), 0);
            QCOMPARE(pageScroll(rules)->verticalScrollBar()->value(), 0);
            // Changed at the first opening; the second fits again.
            button(rules, "pushButton_zoomout")->click();
        });
    }
}

void PickerRenderingTest::zoom_keepsEveryBoxOverItsWordAndShowsThePercentage() {
    harness.listPdf(1);
    harness.openPicker([](Rules& rules) {
        QVERIFY(waitForBoxes(rules));
        const QList<int> enlargeClicks = {0, 3, 30};
        for (int clicks : enlargeClicks) {
            for (int click = 0; click < clicks; ++click) {
                button(rules, "pushButton_zoomout")->click();
            }
            const double zoom = rules.zoom();
            QCOMPARE(child<QLabel>(rules, "label_zoom")->text(), zoomPercentText(zoom));
            QCOMPARE(pageView(rules)->size(), scaledPageSize(QSize(kPageWidth, kPageHeight), zoom));
            for (const Subtext& word : {kTotal, kAmpersand, kColonInside, kDate}) {
                QPushButton* over = box(rules, word);
                QVERIFY(over);
                QVERIFY2(paintedUnderBox(rules, over->geometry()),
                         qPrintable(QStringLiteral("%1 at %2").arg(word.text).arg(zoom)));
            }
        }
        QCOMPARE(rules.zoom(), 8.0);
        QCOMPARE(child<QLabel>(rules, "label_zoom")->text(), QStringLiteral("800%"));
    });
}

void PickerRenderingTest::ctrlWheelAndKeys_zoomKeepingThePointUnderThePointer() {
    harness.listPdf(1);
    harness.openPicker([](Rules& rules) {
        QVERIFY(waitForBoxes(rules));
        QWidget* visible = pageScroll(rules)->viewport();
        const double opened = rules.zoom();
        // Two notches with Ctrl over the Total box: the page point under the pointer stays.
        const QPoint pointer = box(rules, kTotal)->geometry().center();
        const QPointF onPage = QPointF(pointer) / opened;
        for (int notch = 0; notch < 2; ++notch) {
            QWheelEvent wheel(pointer, visible->mapToGlobal(pointer), QPoint(), QPoint(0, 120),
                              Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(visible, &wheel);
        }
        QCOMPARE(rules.zoom(), opened * 1.5625);
        const QPoint scroll(pageScroll(rules)->horizontalScrollBar()->value(),
                            pageScroll(rules)->verticalScrollBar()->value());
        const QPointF underPointer = QPointF(scroll + pointer) / rules.zoom();
        QVERIFY2(std::abs(underPointer.x() - onPage.x()) < 1 &&
                     std::abs(underPointer.y() - onPage.y()) < 1,
                 qPrintable(QStringLiteral("%1,%2").arg(underPointer.x()).arg(underPointer.y())));
        // Without Ctrl the wheel scrolls.
        QWheelEvent plain(pointer, visible->mapToGlobal(pointer), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(visible, &plain);
        QCOMPARE(rules.zoom(), opened * 1.5625);

        rules.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rules));
        QTest::keyClick(&rules, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(rules.zoom(), opened * 1.25);
        QTest::keyClick(&rules, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(&rules, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(rules.zoom(), opened * 1.953125);
    });
}

void PickerRenderingTest::pickerSize_isKeptFromOneStartToTheNext() {
    harness.listPdf(1);
    QSize closedAt;
    harness.openPicker([&](Rules& rules) {
        rules.resize(rules.width(), rules.minimumSizeHint().height() + 40);
        closedAt = rules.size();
    });
    QCOMPARE(readSetting(QStringLiteral("picker/size")),
             QStringLiteral("%1x%2").arg(closedAt.width()).arg(closedAt.height()));

    // The next start of the program.
    harness.window.reset();
    harness.window = std::make_unique<Process>(std::make_unique<ScriptedDialogs>(harness.script));
    QSize openedAt;
    harness.openPicker([&](Rules& rules) { openedAt = rules.size(); });
    QCOMPARE(openedAt, closedAt);
}

RELETTRA_GUI_TEST_MAIN(PickerRenderingTest)
#include "tst_picker_rendering.moc"
