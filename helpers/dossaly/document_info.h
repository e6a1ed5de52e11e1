#pragma once

#include <optional>
#include <string>

// What the information report tells about a PDF file.
struct DocumentInfo {
    int pageCount = 0;
    std::string title;
    std::string author;
    std::string subject;
    std::string creator;
    std::string producer;
    std::string pdfVersion;
    bool encrypted = false;
    double firstPageWidth = 0;  // points, as displayed
    double firstPageHeight = 0;
};

// Reads the information of a PDF file; nullopt with a one-line reason when it cannot.
std::optional<DocumentInfo> ReadDocumentInfo(const std::string& path, std::string& reason);

// The report's text: "NumberOfPages: N" first, then one "Key: value" line per known item.
std::string FormatDocumentInfo(const DocumentInfo& info);
