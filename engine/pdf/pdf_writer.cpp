#include "pdf/pdf_writer.h"

#include <qpdf/QPDFWriter.hh>

#include "pdf/output_file.h"

namespace relettra::pdf {

bool writesEncrypted(QPDF& pdf, const WriteOptions& options) {
    // QPDFWriter keeps the input's encryption unless it is told otherwise.
    return options.encryption.has_value() || pdf.isEncrypted();
}

void writeDocument(QPDF& pdf, std::FILE* file, const WriteOptions& options) {
    const bool encrypted = writesEncrypted(pdf, options);
    // Without a content-made /ID, QPDF makes one from the time and the description of the
    // output: 128 random bits in the description make it a random one.
    const std::string description =
        encrypted ? "encrypted output " + randomHex128() : std::string("output");
    QPDFWriter writer(pdf, description.c_str(), file, false);
    writer.setStreamDataMode(qpdf_s_preserve);
    writer.setDeterministicID(!encrypted);
    if (!options.minimumVersion.empty()) {
        writer.setMinimumPDFVersion(options.minimumVersion);
    }
    if (options.encryption) {
        const OwnerOnlyEncryption& e = *options.encryption;
        const qpdf_r3_print_e print = e.allowPrintHighResolution ? qpdf_r3p_full
                                      : e.allowPrint             ? qpdf_r3p_low
                                                                 : qpdf_r3p_none;
        writer.setR6EncryptionParameters("", e.ownerPassword.c_str(), e.allowAccessibility,
                                         e.allowExtract, e.allowAssemble, e.allowAnnotate,
                                         e.allowFillForms, e.allowModify, print, true);
    }
    writer.write();
}

}  // namespace relettra::pdf
