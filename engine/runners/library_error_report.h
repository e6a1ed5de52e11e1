#pragma once

// The PDF layer's error callback: prints the message on standard output with a prefix for its
// kind ("Warning!: ", "Syntax error!: ", ...). Always returns 0 so that the work goes on.
int ReportLibraryError(const void* userData, int errCode, const char* errMessage, int errType);
