#include "test_environment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>

namespace {

TestEnvironment* current = nullptr;

}  // namespace

TestEnvironment::TestEnvironment() {
    // The temporary folder itself is made before TMPDIR points into it.
    if (!folder.isValid()) {
        qFatal("cannot create the test folder");
    }
    for (const QString& dir :
         {workDir(), dataDir(), tempDir(), root() + QStringLiteral("/config")}) {
        QDir().mkpath(dir);
    }
    qputenv("XDG_DATA_HOME", dataDir().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (root() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("TMPDIR", tempDir().toLocal8Bit());
    QDir::setCurrent(workDir());
    current = this;
}

QString TestEnvironment::enterFreshWorkDir(const QString& name) {
    const QString dir = root() + QLatin1Char('/') + name;
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    QDir::setCurrent(dir);
    // Settings a test leaves behind (a window's place, its tabs) never reach the next test.
    QDir().mkpath(dir + QStringLiteral("/.config"));
    qputenv("XDG_CONFIG_HOME", (dir + QStringLiteral("/.config")).toLocal8Bit());
    return dir;
}

TestEnvironment* TestEnvironment::instance() {
    return current;
}

void writeFileOfSize(const QString& path, qint64 size) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QVERIFY(file.resize(size));
}

void writeMinimalPdf(const QString& path, int pageCount) {
    QList<QByteArray> objects;
    QByteArray kids;
    for (int page = 0; page < pageCount; ++page) {
        kids += QByteArray::number(3 + page) + " 0 R ";
    }
    objects << "<< /Type /Catalog /Pages 2 0 R >>";
    objects << "<< /Type /Pages /Kids [ " + kids + "] /Count " + QByteArray::number(pageCount) +
                   " >>";
    for (int page = 0; page < pageCount; ++page) {
        objects << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>";
    }
    QByteArray pdf = "%PDF-1.4\n";
    QList<int> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const int xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (int offset : offsets) {
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    }
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(pdf);
}

QString readTextFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    return QString::fromUtf8(file.readAll());
}

void useFixedTestFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(QApplication::font().pointSize());
    QApplication::setFont(font);
}
