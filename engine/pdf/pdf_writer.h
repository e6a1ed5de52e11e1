#pragma once

#include <cstdio>
#include <optional>
#include <qpdf/QPDF.hh>
#include <string>

namespace relettra::pdf {

// Encryption for the output instead of the input's own: 256-bit AES, owner password only.
struct OwnerOnlyEncryption {
    std::string ownerPassword;
    bool allowPrint = true;
    bool allowPrintHighResolution = true;
    bool allowModify = true;
    bool allowExtract = true;
    bool allowAnnotate = true;
    bool allowFillForms = true;
    bool allowAssemble = true;
    bool allowAccessibility = true;
};

struct WriteOptions {
    std::string minimumVersion;  // "1.4", ...; empty for the input's own
    std::optional<OwnerOnlyEncryption> encryption;
};

// Whether the written document is encrypted: with its own encryption, or the input's kept.
bool writesEncrypted(QPDF& pdf, const WriteOptions& options);

// Writes the document to `file` (which stays open). Streams that were not changed are copied
// as they are, undecoded. The same document gives the same bytes: the /ID is made from the
// written content (its first element stays the input's, the document's permanent identifier).
// An encrypted output gets a random /ID instead: its key is made from the /ID before any byte
// is written, so the /ID cannot come from the content, and no two encrypted outputs share one.
// Throws QPDF's exceptions.
void writeDocument(QPDF& pdf, std::FILE* file, const WriteOptions& options);

}  // namespace relettra::pdf
