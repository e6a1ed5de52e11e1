// The rule picker's logic that needs no window: position texts, image rule sizes, zoom steps,
// fitting and anchoring, the overlay's geometry, the window's size and place, the pages kept and
// the page helper's messages.
#include <QFile>
#include <QtTest>

#include "box_overlay.h"
#include "page_cache.h"
#include "page_render.h"
#include "page_zoom.h"
#include "picker_geometry.h"
#include "picker_rules.h"
#include "position_text.h"
#include "test_environment.h"

class PickerLogicTest : public QObject {
    Q_OBJECT

  private slots:
    void positionText_holdsPageAndBox();
    void imageSizes_typedWhenPositiveElseBoxSize_data();
    void imageSizes_typedWhenPositiveElseBoxSize();
    void imageLine_hasPagePositionPathAndSizes();
    void zoom_stepsAndStopsAtItsLimits();
    void overlay_scalesBoxesAndPlacesAddButtonRightOfBox();
    void fitWidth_leavesRoomForTheScrollBarOfATallPage_data();
    void fitWidth_leavesRoomForTheScrollBarOfATallPage();
    void anchoredScroll_keepsThePagePointUnderTheAnchor();
    void pickerGeometry_staysWithinTheScreenAndSizeTextReadsBack();
    void pageCache_keepsTheLatestPagesAndForgetsAChangedFile();
    void pageTextLines_ignoresLinesBeyond10000();
    void pageNotShownText_namesTheReason_data();
    void pageNotShownText_namesTheReason();
};

void PickerLogicTest::positionText_holdsPageAndBox() {
    const Subtext box{72, 140, 210, 12, QStringLiteral("Total")};
    const QString position = positionText(3, box);
    QCOMPARE(position, QStringLiteral("P3 (72 140 210 12)"));
}

void PickerLogicTest::imageSizes_typedWhenPositiveElseBoxSize_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<int>("handedBack");
    const auto row = [](const char* name, const char* typed, const char* written, int back) {
        QTest::newRow(name) << QString::fromLatin1(typed) << QString::fromLatin1(written) << back;
    };
    row("empty", "", "210", 210);
    row("zero", "0", "210", 210);
    row("negative", "-5", "210", -5);
    row("leading zero kept as typed", "050", "050", 50);
    row("not a number", "wide", "210", 210);
    row("one", "1", "1", 1);
}

void PickerLogicTest::imageSizes_typedWhenPositiveElseBoxSize() {
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(int, handedBack);
    QCOMPARE(PickerRules::writtenImageSize(typed, QStringLiteral("210")), written);
    QCOMPARE(PickerRules::handedBackImageSize(typed, QStringLiteral("210")), handedBack);
}

void PickerLogicTest::imageLine_hasPagePositionPathAndSizes() {
    QCOMPARE(
        PickerRules::imageLine(QStringLiteral("P2 (150 300 210 12)"),
                               QStringLiteral("/pics/logo.png"), QString(), QStringLiteral("40")),
        QStringLiteral("2:150:300:(/pics/logo.png):210:40"));
}

void PickerLogicTest::zoom_stepsAndStopsAtItsLimits() {
    double factor = 1.0;
    for (int click = 0; click < 3; ++click) {
        factor = steppedZoom(factor, kZoomEnlargeStep);
    }
    QCOMPARE(factor, 1.953125);
    for (int click = 0; click < 30; ++click) {
        factor = steppedZoom(factor, kZoomEnlargeStep);
    }
    QVERIFY(factor <= kLargestZoom && factor * kZoomEnlargeStep > kLargestZoom);
    for (int click = 0; click < 60; ++click) {
        factor = steppedZoom(factor, kZoomShrinkStep);
    }
    QVERIFY(factor >= kSmallestZoom && factor * kZoomShrinkStep < kSmallestZoom);
    QCOMPARE(scaledPageSize(QSize(400, 300), 1.953125), QSize(781, 585));
}

void PickerLogicTest::overlay_scalesBoxesAndPlacesAddButtonRightOfBox() {
    QCOMPARE(scaledBox(Subtext{72, 140, 210, 12, QString()}, 1.25), QRect(90, 175, 262, 15));
    QCOMPARE(addButtonGeometry(QRect(100, 40, 200, 20)), QRect(300, 40, 121, 23));
    QCOMPARE(boxTooltipText(Subtext{72, 140, 210, 12, QString()}),
             QStringLiteral("Position\n X- 72 Y- 140"));
    QVERIFY(isPickableBox(getSubtextInfo(QStringLiteral("<span>&amp;</span>"))));
    QVERIFY(!isPickableBox(getSubtextInfo(QStringLiteral("<html><body>"))));
}

void PickerLogicTest::fitWidth_leavesRoomForTheScrollBarOfATallPage_data() {
    QTest::addColumn<QSize>("page");
    QTest::addColumn<QSize>("area");
    QTest::addColumn<double>("zoom");
    QTest::newRow("short page: the whole width") << QSize(1000, 500) << QSize(800, 600) << 0.8;
    QTest::newRow("tall page: the width beside the bar")
        << QSize(1000, 2000) << QSize(814, 600) << 0.8;
    QTest::newRow("narrow area: the smallest factor") << QSize(1240, 1754) << QSize(50, 600) << 0.1;
    QTest::newRow("wide area: the largest factor") << QSize(100, 10) << QSize(2000, 600) << 8.0;
    QTest::newRow("no page") << QSize() << QSize(800, 600) << 1.0;
}

void PickerLogicTest::fitWidth_leavesRoomForTheScrollBarOfATallPage() {
    QFETCH(QSize, page);
    QFETCH(QSize, area);
    QFETCH(double, zoom);
    const double fitted = fitWidthZoom(page, area.width(), area.height(), 14);
    QCOMPARE(fitted, zoom);
    QVERIFY(fitted == kSmallestZoom || scaledPageSize(page, fitted).width() <= area.width());
}

void PickerLogicTest::anchoredScroll_keepsThePagePointUnderTheAnchor() {
    // Page point (100, 50) is under the anchor (40, 30) at factor 1 with the page scrolled by
    // (60, 20); at factor 2 it lies at (200, 100), so the scroll is (160, 70).
    QCOMPARE(anchoredScroll(QPoint(60, 20), QPoint(40, 30), 1.0, 2.0), QPoint(160, 70));
    QCOMPARE(anchoredScroll(QPoint(160, 70), QPoint(40, 30), 2.0, 1.0), QPoint(60, 20));
    QCOMPARE(zoomPercentText(0.7812), QStringLiteral("78%"));
    QCOMPARE(zoomPercentText(8.0), QStringLiteral("800%"));
}

void PickerLogicTest::pickerGeometry_staysWithinTheScreenAndSizeTextReadsBack() {
    const QRect large(0, 0, 2560, 1440);
    const QRect small(100, 50, 1366, 768);
    QCOMPARE(defaultPickerSize(480, 1270, large), QSize(1750, 1296));
    QCOMPARE(defaultPickerSize(480, 1270, small), QSize(1229, 691));
    QCOMPARE(pickerGeometryOnScreen(QSize(1229, 691), small).center(), small.center());
    QCOMPARE(pickerGeometryOnScreen(QSize(3000, 2000), small), small);

    QCOMPARE(pickerSizeFromText(pickerSizeText(QSize(1400, 900))), QSize(1400, 900));
    for (const char* text : {"", "1400", "1400x", "0x900", "-5x900", "1400 x 900", "1e3x900"}) {
        QVERIFY2(!pickerSizeFromText(QString::fromLatin1(text)).isValid(), text);
    }
}

void PickerLogicTest::pageCache_keepsTheLatestPagesAndForgetsAChangedFile() {
    const QString pdf = TestEnvironment::instance()->tempDir() + QStringLiteral("/kept.pdf");
    writeMinimalPdf(pdf, 4);
    PageCache cache(2);
    const auto pageWithLayer = [](const char* layer) {
        return RenderedPage{QImage(2, 2, QImage::Format_RGB32), QString::fromLatin1(layer)};
    };
    cache.insert(pageKeyOf(pdf, 1), pageWithLayer("one"));
    cache.insert(pageKeyOf(pdf, 2), pageWithLayer("two"));
    // Page 1 is used again, so page 2 is the one that goes for page 3.
    QCOMPARE(cache.find(pageKeyOf(pdf, 1))->textLayer, QStringLiteral("one"));
    cache.insert(pageKeyOf(pdf, 3), pageWithLayer("three"));
    QCOMPARE(cache.size(), 2);
    QVERIFY(!cache.find(pageKeyOf(pdf, 2)));
    QCOMPARE(cache.find(pageKeyOf(pdf, 3))->textLayer, QStringLiteral("three"));

    writeMinimalPdf(pdf, 5);
    QVERIFY(!cache.find(pageKeyOf(pdf, 1)));
}

void PickerLogicTest::pageTextLines_ignoresLinesBeyond10000() {
    QString layer;
    for (int i = 0; i < 10005; ++i) {
        layer += QStringLiteral("<span style=\"left:%1;top:1;width:1;height:1\">w</span>\n").arg(i);
    }
    const QStringList lines = pageTextLines(layer);
    QCOMPARE(lines.size(), 10000);
    QCOMPARE(getpos(QStringLiteral("left"), lines.last()), 9999);
}

void PickerLogicTest::pageNotShownText_namesTheReason_data() {
    QTest::addColumn<int>("problem");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("reason");
    QTest::newRow("timed out") << int(PageRenderProblem::TimedOut) << 0 << "in time";
    QTest::newRow("crashed") << int(PageRenderProblem::Crashed) << 0 << "crashed";
    QTest::newRow("not started") << int(PageRenderProblem::HelperNotStarted) << 0
                                 << "/run/Hevrit.dll could not be started";
    QTest::newRow("no private folder")
        << int(PageRenderProblem::NoOutputFolder) << 0 << "temporary folder";
    QTest::newRow("exit code") << int(PageRenderProblem::ExitCode) << 3 << "exit code 3";
}

void PickerLogicTest::pageNotShownText_namesTheReason() {
    QFETCH(int, problem);
    QFETCH(int, exitCode);
    QFETCH(QString, reason);
    PageRenderOutcome outcome;
    outcome.problem = static_cast<PageRenderProblem>(problem);
    outcome.exitCode = exitCode;
    outcome.helperPath = QStringLiteral("/run/Hevrit.dll");
    outcome.pdfFile = QStringLiteral("/in/a.pdf");
    const QString text = pageNotShownText(outcome);
    QVERIFY2(text.startsWith(QStringLiteral("The page cannot be shown")) && text.contains(reason),
             qPrintable(text));
}

RELETTRA_GUI_TEST_MAIN(PickerLogicTest)
#include "tst_picker_logic.moc"
