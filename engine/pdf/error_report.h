#pragma once

#include <string>

class QPDFExc;

namespace relettra::pdf {

// Kinds of message the PDF layer hands to its error callback; one bit each.
enum ErrorType : int {
    kErrWarning = 0x02000000,
    kErrSyntax = 0x04000000,
    kErrValue = 0x08000000,
    kErrTrueTypeFont = 0x10000000,
    kErrFatal = 0x20000000,
    kErrFile = 0x40000000,
};

// Receives every message of the PDF layer. Returns 0 to go on.
using ErrorProc = int (*)(const void* userData, int errCode, const char* errMessage, int errType);

// Holds the callback of one document and forwards messages to it.
class ErrorSink {
  public:
    void setProc(const void* userData, ErrorProc proc) {
        userData_ = userData;
        proc_ = proc;
    }
    void report(int type, int code, const std::string& message) const;
    void report(const QPDFExc& e, int typeOverride = 0) const;

  private:
    const void* userData_ = nullptr;
    ErrorProc proc_ = nullptr;
};

// The message type that fits a QPDF error or warning.
int errorTypeOf(const QPDFExc& e);

}  // namespace relettra::pdf
