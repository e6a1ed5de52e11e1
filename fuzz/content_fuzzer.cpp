// The content lexer and the text interpreter on arbitrary content streams with arbitrary font
// dictionaries. The input holds up to four parts, separated by NUL bytes:
//   font dictionary (PDF syntax) \0 content stream \0 ToUnicode CMap \0 embedded font program
// With no NUL the whole input is the content, shown in Helvetica. The page draws a form whose
// content is the same stream, and the form draws itself: the interpreter must end anyway.
#include <cstddef>
#include <cstdint>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <vector>

#include "pdf/content/content_lexer.h"
#include "pdf/content/content_scope.h"
#include "pdf/content/text_interpreter.h"
#include "pdf/fonts/font_cache.h"

namespace {

using namespace relettra::pdf;

std::vector<std::string> parts(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> result(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && result.size() < 4) {
            result.emplace_back();
        } else {
            result.back() += static_cast<char>(data[i]);
        }
    }
    if (result.size() == 1) {
        result.insert(result.begin(), "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    }
    result.resize(4);
    return result;
}

QPDFObjectHandle fontDictionary(QPDF& pdf, const std::vector<std::string>& input) {
    QPDFObjectHandle font;
    try {
        font = QPDFObjectHandle::parse(input[0]);
    } catch (std::exception const&) {
        font = QPDFObjectHandle::newDictionary();
    }
    if (!font.isDictionary()) {
        return font;
    }
    if (!input[2].empty()) {
        font.replaceKey("/ToUnicode", pdf.newStream(input[2]));
    }
    if (!input[3].empty()) {
        // Where the program goes depends on its kind; every slot gets it.
        QPDFObjectHandle descriptor = QPDFObjectHandle::parse(
            "<< /Type /FontDescriptor /FontName /Fuzz /Flags 32 /FontBBox [0 0 1000 1000] >>");
        QPDFObjectHandle program = pdf.newStream(input[3]);
        for (const char* key : {"/FontFile", "/FontFile2", "/FontFile3"}) {
            descriptor.replaceKey(key, program);
        }
        font.replaceKey("/FontDescriptor", pdf.makeIndirectObject(descriptor));
        QPDFObjectHandle descendants = font.getKey("/DescendantFonts");
        if (descendants.isArray() && descendants.getArrayNItems() > 0 &&
            descendants.getArrayItem(0).isDictionary()) {
            descendants.getArrayItem(0).replaceKey("/FontDescriptor",
                                                   font.getKey("/FontDescriptor"));
        }
    }
    return pdf.makeIndirectObject(font);
}

class Listener : public TextListener {
  public:
    bool onShow(const TextShow& show) override {
        text_ += show.text();
        advance_ += show.totalAdvance();
        return text_.size() < (1u << 20);
    }

  private:
    std::string text_;
    double advance_ = 0;
};

void lexAlone(const std::string& content) {
    const ParsedContent parsed(content);
    std::string value;
    for (const Token& token : parsed.tokens()) {
        if (token.kind == TokenKind::LiteralString || token.kind == TokenKind::HexString) {
            stringValueInto(parsed, token, value);
            encodeStringToken(value);
        } else if (token.kind == TokenKind::Number) {
            numberValue(parsed.text(token));
        }
    }
    for (const Operation& op : parsed.operations()) {
        parsed.operatorName(op);
        if (parsed.beginOf(op) > parsed.endOf(op)) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> input = parts(data, size);
    lexAlone(input[1]);

    QPDF pdf;
    pdf.emptyPDF();
    pdf.setSuppressWarnings(true);
    QPDFObjectHandle font = fontDictionary(pdf, input);
    QPDFObjectHandle form = pdf.newStream(input[1] + "\n/Fm Do");
    QPDFObjectHandle resources = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
    resources.replaceKey("/Font", QPDFObjectHandle::parse("<< >>"));
    resources.getKey("/Font").replaceKey("/F1", font);
    resources.getKey("/Font").replaceKey("/F2", font);
    resources.replaceKey("/XObject", QPDFObjectHandle::parse("<< >>"));
    resources.getKey("/XObject").replaceKey("/Fm", form);
    form.getDict().replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    form.getDict().replaceKey("/Subtype", QPDFObjectHandle::newName("/Form"));
    form.getDict().replaceKey("/BBox", QPDFObjectHandle::parse("[0 0 612 792]"));
    form.getDict().replaceKey("/Resources", resources);
    QPDFObjectHandle page = pdf.makeIndirectObject(
        QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 612 792] >>"));
    page.replaceKey("/Resources", resources);
    page.replaceKey("/Contents", pdf.newStream(input[1] + "\n/Fm Do"));

    FontCache fonts;
    PageContent content(page);
    Listener listener;
    TextInterpreter(fonts).run(content, QPDFMatrix(), listener);
    TextInterpreter(fonts).showsText(content, "a");
    return 0;
}
