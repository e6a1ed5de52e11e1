#include "engine_exit.h"

#include <QCoreApplication>

#include "marqel/exit_codes.h"

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("EngineExit", text);
}

// The engine names a document whose permissions forbid changes in a line of its own; the exit
// code is the one of an input that cannot be opened.
bool saysLocked(const QString& output) {
    return output.contains(QLatin1String("permissions do not allow changing"));
}

QString notOpened(const QString& output) {
    return saysLocked(output)
               ? translated("the document is locked: its permissions do not allow changes")
               : translated(
                     "the input could not be opened (it is missing, not a PDF, or needs "
                     "a password)");
}

}  // namespace

QString engineExitProblem(RuleKind kind, int exitCode, bool crashed, const QString& output) {
    if (crashed) {
        return translated("the engine stopped unexpectedly; nothing was written");
    }
    // The process reports the low eight bits of the code.
    const int code = exitCode > 127 ? exitCode - 256 : exitCode;
    if (code == marqel::kEngineFailure) {
        return translated(
            "the engine failed (out of memory or an internal error); nothing was "
            "written");
    }
    if (kind == RuleKind::Text) {
        switch (code) {
            case marqel::kTextRulesDone:
                return QString();
            case marqel::kTextInputNotOpened:
                return notOpened(output);
            case marqel::kTextOutputNotWritten:
                return translated("the output could not be written (check the output folder)");
            case marqel::kTextRuleFileUnreadable:
                return translated("the rule file could not be read");
            default:
                break;
        }
    } else {
        switch (code) {
            case marqel::kImageRulesDone:
                return QString();
            case marqel::kImageInputPathEmpty:
            case marqel::kImageInputNotOpened:
                return notOpened(output);
            case marqel::kImageInputMissingOrImageUnreadable:
                return translated("the input is missing, or an image of the rules cannot be read");
            case marqel::kImageRuleFileUnreadable:
                return translated("the rule file could not be read");
            case marqel::kImageOutputNotWritten:
                return translated("the output could not be written (check the output folder)");
            default:
                break;
        }
    }
    return translated("the engine ended with the unknown exit code %1").arg(code);
}
