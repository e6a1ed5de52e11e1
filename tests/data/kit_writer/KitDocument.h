#pragma once

#include <map>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>

struct PageBox {
    double llx = 0;
    double lly = 0;
    double urx = 612;
    double ury = 792;
};

// A new PDF document under construction: pages, fonts and resources as QPDF
// objects, written out in one go.
class KitDocument {
  public:
    KitDocument();
    KitDocument(const KitDocument&) = delete;
    KitDocument& operator=(const KitDocument&) = delete;

    QPDF& qpdf() { return pdf_; }

    // A standard-14 font that is not embedded; the encoding is a name such as
    // /WinAnsiEncoding or an encoding dictionary.
    QPDFObjectHandle standardFont(const std::string& baseFont, QPDFObjectHandle encoding);
    QPDFObjectHandle standardFont(const std::string& baseFont);

    // A /Resources dictionary with the given fonts under their resource names.
    QPDFObjectHandle fontResources(const std::map<std::string, QPDFObjectHandle>& fonts);

    // Appends a page with one content stream, stored without a filter so that a
    // reader of the kit sees the operators as written.
    QPDFObjectHandle addPage(const PageBox& mediaBox, QPDFObjectHandle resources,
                             const std::string& content);

    // A stream holding the given bytes Flate-compressed.
    QPDFObjectHandle compressedStream(const std::string& data);

    // Writes the document; content streams are compressed only when asked (the
    // bulk documents), other streams keep the form they were created in.
    void write(const std::string& path, bool compressContent = false);

  private:
    QPDF pdf_;
};

QPDFObjectHandle boxArray(const PageBox& box);
