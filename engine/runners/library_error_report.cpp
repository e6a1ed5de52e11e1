#include "runners/library_error_report.h"

#include <cstdarg>
#include <cstdio>

#include "pdf/error_report.h"

void PrintMessage(const char* format, ...) noexcept {
    std::fflush(stdout);
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
}

int ReportLibraryError(const void*, int, const char* errMessage, int errType) {
    using namespace relettra::pdf;
    const char* message = errMessage != nullptr ? errMessage : "";
    // The first kind whose bit is set decides, in this order.
    static const struct {
        int bit;
        const char* format;
    } kFormats[] = {
        {kErrWarning, "Warning!: %s\n"},   {kErrSyntax, "Syntax error!: %s\n"},
        {kErrValue, "Value error!: %s\n"}, {kErrTrueTypeFont, "TrueType font error!: %s\n"},
        {kErrFile, "File error!: %s\n"},   {kErrFatal, "Fatal error!: %s\n"},
    };
    for (const auto& entry : kFormats) {
        if ((errType & entry.bit) != 0) {
            PrintMessage(entry.format, message);
            return 0;
        }
    }
    PrintMessage("%s\n", message);
    return 0;
}

void ReportEngineFailure(const char* what) noexcept {
    PrintMessage("Fatal error!: The engine stopped: %s. Nothing was written.\n",
                 what != nullptr ? what : "unknown error");
}
