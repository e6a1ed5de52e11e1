#include "runners/library_error_report.h"

#include <cstdio>

#include "pdf/error_report.h"

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
            std::printf(entry.format, message);
            return 0;
        }
    }
    std::printf("%s\n", message);
    return 0;
}

void ReportEngineFailure(const char* what) noexcept {
    std::printf("Fatal error!: The engine stopped: %s. Nothing was written.\n",
                what != nullptr ? what : "unknown error");
    std::fflush(stdout);
}
