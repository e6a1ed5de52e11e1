#include "test_environment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>

namespace {

TestEnvironment* current = nullptr;

// Everything a case may have put beside the test program.
const QStringList kChildPrograms{"Tewkrun.dll", "Hevrit.dll", "Dossaly.dll", "libmarqel_engine.so"};

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
    removePrograms();
    qputenv("TMPDIR", tempDir().toLocal8Bit());
    QDir::setCurrent(workDir());
    current = this;
}

QString TestEnvironment::configDir() const {
    return QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
}

QString TestEnvironment::programDir() {
    // The path the window's own lookup starts from; before the application object exists, the
    // folder of the program file as the system reports it.
    if (QCoreApplication::instance()) {
        return QCoreApplication::applicationDirPath();
    }
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

QString TestEnvironment::enterFreshWorkDir(const QString& name) {
    const QString dir = root() + QLatin1Char('/') + name;
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    QDir::setCurrent(dir);
    // Settings a test leaves behind (a window's place, its tabs) never reach the next test.
    const QString config = root() + QStringLiteral("/config-") + name;
    QDir(config).removeRecursively();
    QDir().mkpath(config);
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    removePrograms();
    return dir;
}

void TestEnvironment::linkBuiltPrograms(const QStringList& programs) {
    for (const QString& program : programs) {
        const QString built = QStringLiteral(RELETTRA_RUN_DIR "/") + program;
        if (!QFile::exists(built)) {
            qWarning("%s has not been built", qPrintable(program));
        }
        const QString beside = programDir() + QLatin1Char('/') + program;
        QFile::remove(beside);
        QFile::link(built, beside);
    }
}

QString TestEnvironment::writeStandInProgram(const QString& name, const QByteArray& script) {
    const QString path = programDir() + QLatin1Char('/') + name;
    QFile::remove(path);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(script);
    }
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

void TestEnvironment::removePrograms() {
    for (const QString& program : kChildPrograms) {
        QFile::remove(programDir() + QLatin1Char('/') + program);
    }
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
