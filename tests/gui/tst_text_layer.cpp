// The one reader of the page helper's text layers.
#include <QtTest>

#include "test_environment.h"
#include "text_layer.h"

class TextLayerTest : public QObject {
    Q_OBJECT

  private slots:
    void getSubtextInfo_readsBoxAndText_data();
    void getSubtextInfo_readsBoxAndText();
    void textLayerLines_dropsEmptyParts();
};

void TextLayerTest::getSubtextInfo_readsBoxAndText_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QList<int>>("box");
    QTest::addColumn<QString>("text");
    QTest::newRow("helper's span line")
        << QStringLiteral(
               R"(<span class="w" style="left:72;top:140;width:210;height:12">Total</span>)")
        << QList<int>{72, 140, 210, 12} << QStringLiteral("Total");
    QTest::newRow("value with a unit reads 0")
        << QStringLiteral(R"(<span style="left:12px;top:3;width:4;height:5">a</span>)")
        << QList<int>{0, 3, 4, 5} << QStringLiteral("a");
    QTest::newRow("negative and oversized values read 0")
        << QStringLiteral(R"(<span style="left:-4;top:99999999999;width:4;height:5">a</span>)")
        << QList<int>{0, 0, 4, 5} << QStringLiteral("a");
    QTest::newRow("first occurrence of a key wins")
        << QStringLiteral(
               R"(<p title="stop:7"><span style="left:1;top:2;width:3;height:4">x</span>)")
        << QList<int>{1, 7, 3, 4} << QStringLiteral("x");
    QTest::newRow("no </span>: empty text")
        << QStringLiteral(R"(<span style="left:1;top:2;width:3;height:4">x)")
        << QList<int>{1, 2, 3, 4} << QString();
    QTest::newRow("no '>': the first character is never text")
        << QStringLiteral("ab</span>") << QList<int>{0, 0, 0, 0} << QStringLiteral("b");
    QTest::newRow("frame line without keys")
        << QStringLiteral("<html><body>") << QList<int>{0, 0, 0, 0} << QString();
    QTest::newRow("trailing carriage return does no harm")
        << QStringLiteral("<span style=\"left:1;top:2;width:3;height:4\">x</span>\r")
        << QList<int>{1, 2, 3, 4} << QStringLiteral("x");
    QTest::newRow("entities and numeric references decoded")
        << QStringLiteral(
               R"(<span style="left:1;top:2;width:3;height:4">A&amp;B&lt;&gt;&quot;&#233;&#x20AC;&#x1F600;</span>)")
        << QList<int>{1, 2, 3, 4}
        << QStringLiteral("A&B<>\"é€") + QString::fromUcs4(U"\U0001F600", 1);
    QTest::newRow("unknown or broken references stay")
        << QStringLiteral(
               R"(<span style="left:1;top:2;width:3;height:4">&nbsp;&#xD800;&#;&amp</span>)")
        << QList<int>{1, 2, 3, 4} << QStringLiteral("&nbsp;&#xD800;&#;&amp");
    QTest::newRow("decoded once: &amp;lt; is &lt;")
        << QStringLiteral(R"(<span style="left:1;top:2;width:3;height:4">&amp;lt;</span>)")
        << QList<int>{1, 2, 3, 4} << QStringLiteral("&lt;");
}

void TextLayerTest::getSubtextInfo_readsBoxAndText() {
    QFETCH(QString, line);
    QFETCH(QList<int>, box);
    QFETCH(QString, text);
    const Subtext read = getSubtextInfo(line);
    QCOMPARE((QList<int>{read.left, read.top, read.width, read.height}), box);
    QCOMPARE(read.text, text);
}

void TextLayerTest::textLayerLines_dropsEmptyParts() {
    QCOMPARE(textLayerLines(QStringLiteral("\na\n\nb\n")), (QStringList{"a", "b"}));
}

RELETTRA_GUI_TEST_MAIN(TextLayerTest)
#include "tst_text_layer.moc"
