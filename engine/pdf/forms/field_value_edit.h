#pragma once

#include <cstddef>
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFMatrix.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <vector>

#include "pdf/forms/appearance_font.h"

namespace relettra::pdf {

class FontCache;

// What the form part needs of the engine's fallback fonts: the text cut into runs, each run
// encoded in one font of the chain. Implemented over the document's fallback chain above this
// part, so that how the chain chooses a font stays its own business.
class FallbackRuns {
  public:
    struct Run {
        QPDFObjectHandle font;  // an indirect font object for the resources
        std::string codes;      // the bytes of a string operand in that font
    };
    virtual ~FallbackRuns() = default;
    // False when the chain cannot be loaded.
    virtual bool available() = 0;
    // Whether the chain shows every character; else `missing` receives the first it lacks.
    virtual bool canShow(const std::string& utf8, std::string* missing) = 0;
    virtual double advance(const std::string& utf8) = 0;  // per unit font size
    virtual double ascent() = 0;
    virtual double descent() = 0;
    virtual std::vector<Run> encode(const std::string& utf8) = 0;
    // Called once the appearances written in the chain's fonts are complete.
    virtual void written() = 0;
};

// A rule's place on a page: the page, its user space to upright page coordinates (points,
// origin at the displayed page's lower-left corner), and the rule's area there.
struct FieldEditPlace {
    QPDFObjectHandle page;
    QPDFMatrix userToUpright;
    double area[4] = {0, 0, 0, 0};  // x0, y0, x1, y1
    // Only a field that shows an occurrence of the find text in the area counts (else one
    // whose widget overlaps the area does, all its occurrences changed).
    bool occurrenceInArea = false;
};

enum class FieldEditStatus {
    Changed,            // value and appearances in the field's own font
    ChangedInFallback,  // value changed, appearances in the fallback fonts (see the outcome)
    NoField,            // no shown field at the place holds the find text
    Signed,             // the document, or the field, is signed
    Button,             // check box, radio button or push button
    Choice,             // list or combo box
    NotText,            // a field of no known type
    ReadOnly,
    Password,
    RichText,
    TooLong,  // the new value has more characters than /MaxLen allows
    FallbackUnavailable,
    FallbackMissingGlyph,
};

struct FieldEditOutcome {
    FieldEditStatus status = FieldEditStatus::NoField;
    // Why the field's own font was not used (ChangedInFallback, FallbackMissingGlyph):
    bool noDefaultAppearance = false;  // no /DA, or one that sets no font
    bool fontNotInForm = false;        // /DA names `fontName`, which the form does not hold
    std::string fontName;              // the font's name (its /BaseFont, else the /DA's name)
    std::string character;             // the first character it has no glyph for (UTF-8)
    std::string fallbackCharacter;     // FallbackMissingGlyph: the one the chain lacks
    std::size_t newLength = 0;         // TooLong: characters of the new value, and the limit
    std::size_t maxLength = 0;
};

// A change of a field prepared but not yet made: its new /V, an appearance for each of its
// widgets, the /DA entries and form resources that the new appearances need.
class FieldChange {
  public:
    // Writes the change into the document.
    void apply(QPDF& pdf);

  private:
    friend FieldEditOutcome prepareFieldEdit(QPDF&, FontCache&, const FieldEditPlace&,
                                             const std::string&, const std::string&, FallbackRuns&,
                                             FieldChange&);
    QPDFObjectHandle field_;
    std::string value_;
    std::vector<std::pair<QPDFObjectHandle, QPDFObjectHandle>> appearances_;    // widget, stream
    std::vector<std::pair<QPDFObjectHandle, std::string>> defaultAppearances_;  // dict, /DA
    AppearanceFontNames formFonts_;     // fonts the form's /DR must hold
    FallbackRuns* fallback_ = nullptr;  // set when the fallback fonts were used
};

// Prepares the change of a text field's value that a rule asks for at `place`: the widget that
// shows a value holding `find` there (the one overlapping the area most), the field it belongs
// to, the occurrences of `find` in its value that stand in the area (every one when none does)
// replaced by `replace`, and a new appearance for each widget of the field in the font of its
// /DA (inherited from the field or the form; its font from the form's /DR, else the widget's
// old appearance), or in the fallback fonts where that font cannot show the new value. Nothing
// in the document changes until `change.apply()`; the outcome says Changed or
// ChangedInFallback when there is a change to apply, and why not otherwise.
FieldEditOutcome prepareFieldEdit(QPDF& pdf, FontCache& fonts, const FieldEditPlace& place,
                                  const std::string& find, const std::string& replace,
                                  FallbackRuns& fallback, FieldChange& change);

}  // namespace relettra::pdf
