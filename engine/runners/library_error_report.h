#pragma once

#include <exception>
#include <new>

#include "marqel/exit_codes.h"

// Prints a message that callers do not read (a failure, a trace) on standard error. Standard
// output is flushed first: where both streams go to one place (the front end merges them),
// the lines stay in the order they were printed.
void PrintMessage(const char* format, ...) noexcept __attribute__((format(printf, 1, 2)));

// The PDF layer's error callback: prints the message on standard error with a prefix for its
// kind ("Warning!: ", "Syntax error!: ", ...). Always returns 0 so that the work goes on.
int ReportLibraryError(const void* userData, int errCode, const char* errMessage, int errType);

// Prints "Fatal error!: The engine stopped: <what>. Nothing was written." on standard error.
// Never throws.
void ReportEngineFailure(const char* what) noexcept;

// Runs a mode's work and returns its exit code. An exception that escapes it (out of memory,
// an internal error) is reported and gives marqel::kEngineFailure: no exception leaves a runner.
// Outputs are written through a temporary file, so a run stopped this way leaves none.
template <typename Work>
int RunGuarded(Work&& work) noexcept {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        ReportEngineFailure("out of memory");
    } catch (const std::exception& e) {
        ReportEngineFailure(e.what());
    } catch (...) {
        ReportEngineFailure("unknown error");
    }
    return marqel::kEngineFailure;
}
