#pragma once

#include <memory>
#include <qpdf/QPDFMatrix.hh>
#include <string>
#include <vector>

#include "pdf/content/content_scope.h"
#include "pdf/fonts/font_cache.h"
#include "pdf/fonts/pdf_font.h"

namespace relettra::pdf {

// The text state of the graphics state (kept by q and Q).
struct TextState {
    std::shared_ptr<const PdfFont> font;
    std::string fontName;  // resource name, with the slash
    double fontSize = 1.0;
    double charSpacing = 0;
    double wordSpacing = 0;
    double horizontalScaling = 1.0;  // Tz / 100
    double leading = 0;
    double rise = 0;
    int renderMode = 0;
};

// One string of a text-showing operator, or a TJ adjustment between strings.
struct ShowElement {
    bool isString = true;
    double adjustment = 0;    // TJ number, thousandths of a text space unit
    std::uint32_t token = 0;  // the string or number token
    std::string bytes;        // the string's bytes
    std::vector<DecodedGlyph> glyphs;
};

// One text-showing operator (Tj, TJ, ' or ") with everything needed to place its glyphs.
struct TextShow {
    ContentScope* scope = nullptr;
    std::uint32_t operation = 0;
    std::string op;
    QPDFMatrix ctm;  // upright page coordinates
    QPDFMatrix tm;   // text matrix where the showing starts
    TextState state;
    std::vector<ShowElement> elements;
    double advance = 0;  // totalAdvance(), worked out once by the interpreter
    // Where the operator's tokens are read: the scope's content, or, once an edit wrote the
    // operator anew, that new writing (`sourceOperation` is then its text-showing operator, and
    // `leading` what the writing holds before it, such as the line move of a rewritten ').
    const ParsedContent* source = nullptr;
    std::uint32_t sourceOperation = 0;
    std::string leading;

    // The text of all strings, UTF-8.
    std::string text() const;
    // Text space advance of one glyph, as the pen moves after it (spacing and scaling included).
    double glyphAdvance(const DecodedGlyph& glyph) const;
    // Text space advance of a TJ adjustment.
    double adjustmentAdvance(double adjustment) const;
    // Text space advance of the whole operator.
    double totalAdvance() const;
    // Text space to upright page coordinates where the showing starts.
    QPDFMatrix toPage() const {
        QPDFMatrix m = ctm;
        m.concat(tm);
        return m;
    }
    // Whether the font writes top to bottom.
    bool writesVertically() const { return state.font && state.font->isVertical(); }
    const ParsedContent& tokens() const { return source != nullptr ? *source : *scope->content; }
    std::uint32_t tokenOperation() const { return source != nullptr ? sourceOperation : operation; }
};

// The strings and adjustments of the text-showing operator `op` (named `name`) of `content`,
// decoded in `state`'s font, into `elements` (whose storage is reused).
void readShowElements(const ParsedContent& content, const Operation& op, std::string_view name,
                      const TextState& state, std::vector<ShowElement>& elements);

// Receives what the interpreter finds, in content order. Returning false from onShow stops.
class TextListener {
  public:
    virtual ~TextListener() = default;
    virtual bool onShow(const TextShow& show) = 0;
    virtual void onSaveState() {}
    virtual void onRestoreState(const TextState&) {}
    virtual void onTextStateChange(const TextState&) {}
};

// Walks a page's content with the graphics state (q, Q, cm), the text state (Tf, Tc, Tw, Tz,
// TL, Ts, Tr) and text positioning (BT, ET, Td, TD, Tm, T*), and reports each text-showing
// operator. Text in form XObjects that the page draws counts as the page's text, and so does
// the text of the annotation appearances that the page's content holds (after the page's own).
class TextInterpreter {
  public:
    explicit TextInterpreter(FontCache& fonts) : fonts_(fonts) {}

    // `initialCtm` maps the page's user space to the coordinates the listener wants. Returns
    // false when the listener stopped the walk.
    bool run(PageContent& page, const QPDFMatrix& initialCtm, TextListener& listener);
    // Walks one scope alone from a fresh graphics and text state (content added to a page).
    bool runScope(PageContent& page, ContentScope& scope, const QPDFMatrix& ctm,
                  TextListener& listener);

    // Whether the text of some text-showing operator (text in forms included) holds `needle`
    // (UTF-8). Follows only fonts and strings: much quicker than a full walk.
    bool showsText(PageContent& page, const std::string& needle);

  private:
    bool scopeShowsText(PageContent& page, ContentScope& scope, const std::string& needle,
                        std::string& buffer, int depth, std::shared_ptr<const PdfFont> font);
    bool runScope(PageContent& page, ContentScope& scope, const QPDFMatrix& ctm, TextState state,
                  TextListener& listener, int depth);
    // Whether one more form may be drawn in this walk; counts it.
    bool mayDrawForm(const ContentScope& drawing, QPDFObjectHandle form);

    FontCache& fonts_;
    long formsDrawn_ = 0;  // in the current walk
};

}  // namespace relettra::pdf
