#include "batch_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("BatchOptions", text);
}

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption positions{"positions",
                                 translated("Text rules by position from FILE, as the "
                                            "rule picker saves them (rules.txt)."),
                                 "FILE"};
    QCommandLineOption positionImages{
        "position-images",
        translated("Image rules by position from FILE, as the rule picker saves them "
                   "(imagerule.txt)."),
        "FILE"};
    QCommandLineOption find{"find", translated("Text to find on every page (with --replace)."),
                            "TEXT"};
    QCommandLineOption replace{"replace", translated("What replaces the --find text before it."),
                               "TEXT"};
    QCommandLineOption content{
        "content",
        translated("Find and replace texts from FILE: one pair a line, separated by a tab, "
                   "UTF-8."),
        "FILE"};
    QCommandLineOption contentImages{
        "content-images",
        translated("Images stamped where a text stands, from FILE: find text, image file, width "
                   "and height a line, separated by tabs."),
        "FILE"};
    QCommandLineOption output{
        {"o", "output"}, translated("Folder of the outputs (made when missing)."), "DIR"};
    QCommandLineOption overwrite{"overwrite",
                                 translated("Replace an output of the same name (atomically) "
                                            "instead of taking the first free name.")};
    QCommandLineOption skipExisting{"skip-existing",
                                    translated("Leave out files whose output exists (to finish an "
                                               "interrupted job).")};
    QCommandLineOption jobs{
        {"j", "jobs"}, translated("Files run at once (default: the number of cores)."), "N"};
    QCommandLineOption report{"report",
                              translated("Write a JSON line for each file to FILE ('-': standard "
                                         "output)."),
                              "FILE"};
    QCommandLineOption quiet{{"q", "quiet"}, translated("Print nothing but errors.")};
    QCommandLineOption shard{"shard",
                             translated("Take only the files whose place in the stable order is K "
                                        "modulo N (0 <= K < N)."),
                             "K/N"};

    Parser() {
        parser.setApplicationDescription(
            translated("Rewrites PDF files by rules, without a window: each INPUT (a PDF file, a "
                       "folder searched for *.pdf, or - for paths on standard input) yields a new "
                       "PDF in the output folder."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOptions({positions, positionImages, find, replace, content, contentImages, output,
                           overwrite, skipExisting, jobs, report, quiet, shard});
        parser.addPositionalArgument(QStringLiteral("INPUT"),
                                     translated("PDF files, folders, or - ."),
                                     QStringLiteral("INPUT…"));
    }
};

bool readShard(const QString& text, int& index, int& count) {
    const QStringList parts = text.split(QLatin1Char('/'));
    bool indexOk = false;
    bool countOk = false;
    if (parts.size() != 2) {
        return false;
    }
    index = parts.at(0).toInt(&indexOk);
    count = parts.at(1).toInt(&countOk);
    return indexOk && countOk && count >= 1 && index >= 0 && index < count;
}

// The help text with the program's name in its usage line, however it was started.
QString helpText(const QCommandLineParser& parser) {
    QString text = parser.helpText();
    const qsizetype usage = text.indexOf(QLatin1String("Usage: "));
    const qsizetype options = text.indexOf(QLatin1String(" [options]"));
    if (usage == 0 && options > 0) {
        text.replace(7, options - 7, QStringLiteral("relettra-batch"));
    }
    return text;
}

}  // namespace

QString batchHelpText() {
    Parser p;
    return helpText(p.parser);
}

ParsedOptions parseBatchOptions(const QStringList& arguments) {
    Parser p;
    ParsedOptions parsed;
    if (!p.parser.parse(arguments)) {
        parsed.error = p.parser.errorText();
        return parsed;
    }
    if (p.parser.isSet(QStringLiteral("help"))) {
        parsed.text = helpText(p.parser);
        return parsed;
    }
    if (p.parser.isSet(QStringLiteral("version"))) {
        parsed.text = QCoreApplication::applicationName() + QLatin1Char(' ') +
                      QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return parsed;
    }
    BatchOptions& o = parsed.options;
    o.inputs = p.parser.positionalArguments();
    o.positionsFile = p.parser.value(p.positions);
    o.positionImagesFile = p.parser.value(p.positionImages);
    o.contentFile = p.parser.value(p.content);
    o.contentImagesFile = p.parser.value(p.contentImages);
    o.outputFolder = p.parser.value(p.output);
    o.overwrite = p.parser.isSet(p.overwrite);
    o.skipExisting = p.parser.isSet(p.skipExisting);
    o.reportFile = p.parser.value(p.report);
    o.quiet = p.parser.isSet(p.quiet);

    const QStringList finds = p.parser.values(p.find);
    const QStringList replaces = p.parser.values(p.replace);
    for (qsizetype i = 0; i < std::min(finds.size(), replaces.size()); ++i) {
        o.findReplace.append({finds.at(i), replaces.at(i)});
    }
    for (const QString& option :
         {QStringLiteral("positions"), QStringLiteral("position-images"), QStringLiteral("content"),
          QStringLiteral("content-images"), QStringLiteral("output"), QStringLiteral("report"),
          QStringLiteral("jobs"), QStringLiteral("shard")}) {
        if (p.parser.values(option).size() > 1) {
            parsed.error = translated("--%1 is given more than once.").arg(option);
            return parsed;
        }
    }
    if (finds.size() != replaces.size()) {
        parsed.error = translated("Each --find needs a --replace (%1 --find, %2 --replace).")
                           .arg(finds.size())
                           .arg(replaces.size());
    } else if (o.inputs.isEmpty()) {
        parsed.error = translated("No INPUT is given.");
    } else if (o.outputFolder.isEmpty()) {
        parsed.error = translated("No output folder is given (-o DIR).");
    } else if (o.overwrite && o.skipExisting) {
        parsed.error = translated("--overwrite and --skip-existing exclude each other.");
    } else if (o.positionsFile.isEmpty() && o.positionImagesFile.isEmpty() &&
               o.findReplace.isEmpty() && o.contentFile.isEmpty() &&
               o.contentImagesFile.isEmpty()) {
        parsed.error = translated(
            "No rules are given (--positions, --position-images, --find "
            "with --replace, --content or --content-images).");
    }
    if (!parsed.error.isEmpty()) {
        return parsed;
    }
    if (p.parser.isSet(p.jobs)) {
        bool ok = false;
        o.jobs = p.parser.value(p.jobs).toInt(&ok);
        if (!ok || o.jobs < 1) {
            parsed.error = translated("-j needs a whole number of 1 or more.");
            return parsed;
        }
    }
    if (p.parser.isSet(p.shard) &&
        !readShard(p.parser.value(p.shard), o.shardIndex, o.shardCount)) {
        parsed.error = translated("--shard needs K/N with 0 <= K < N, for example 0/4.");
    }
    return parsed;
}
