"""Writes qt_textdocument.pdf: rich text laid out by Qt's QTextDocument (PyQt6) and painted
onto a QPdfWriter, Qt's own PDF engine. Runs without a display (offscreen platform).
Usage: qt_textdocument.py OUT.pdf"""
import os
import sys

os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
# A fixed hash seed keeps the order in which Qt writes the fonts the same from run to run.
os.environ["QT_HASH_SEED"] = "0"

from PyQt6.QtCore import QMarginsF  # noqa: E402
from PyQt6.QtGui import QFont, QGuiApplication, QPageLayout, QPageSize, QPdfWriter, QTextDocument  # noqa: E402

HTML = """
<h1 style="font-family:'Liberation Sans'">Ferry Timetable Changes</h1>
<p>The island route carried 3,127 passengers in August; crossings ran 4.5 minutes
late on average (down 22%) after the <b>new gangway</b> was fitted. <i>Holiday
sailings</i> are listed separately, and the smörgåsbord on deck two reopened.</p>
<h2 style="font-family:'Liberation Sans'">Weekday departures</h2>
<table border="1" cellspacing="0" cellpadding="3">
<tr><th>Pier</th><th>First</th><th>Last</th><th>Fare</th></tr>
<tr><td>Eastgate</td><td>06:10</td><td>21:40</td><td>7.20</td></tr>
<tr><td>Saltmarsh</td><td>07:05</td><td>20:55</td><td>5.80</td></tr>
</table>
<ul>
<li>Bicycles carried free until 30/11.</li>
<li>Season tickets: <b>renewed</b> &mdash; counter 4.</li>
</ul>
<p>&Epsilon;&lambda;&lambda;&eta;&nu;&iota;&kappa;&#940;: &pi;&lambda;&omicron;&#943;&omicron;.
&#1056;&#1091;&#1089;&#1089;&#1082;&#1080;&#1081;: &#1087;&#1072;&#1088;&#1086;&#1084;.</p>
"""


def main(path):
    app = QGuiApplication(sys.argv[:1])
    writer = QPdfWriter(path)
    writer.setTitle("Qt kit sample")
    writer.setCreator("qt_textdocument.py")
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize.PageSizeId.Letter),
                                     QPageLayout.Orientation.Portrait,
                                     QMarginsF(54, 54, 54, 54), QPageLayout.Unit.Point))
    writer.setResolution(300)
    document = QTextDocument()
    document.setDefaultFont(QFont("Liberation Serif", 11))
    document.setHtml(HTML)
    document.print(writer)
    del app


if __name__ == "__main__":
    main(sys.argv[1])
