#pragma once

#include <map>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>

#include "pdf/forms/appearance_font.h"
#include "pdf/forms/field_value_edit.h"

namespace relettra::pdf {

// The engine's fallback fonts as a font of a field's appearance. Each font of the chain that
// shows a run gets a resource name: the one it already has in the form's /DR, else a new one
// that the /DR does not use.
class FallbackAppearanceFont : public AppearanceFont {
  public:
    // `formFonts` is the form's /DR /Font dictionary (may be a null handle).
    FallbackAppearanceFont(FallbackRuns& runs, QPDFObjectHandle formFonts);

    bool canShow(const std::string& utf8, std::string* missing) const override;
    double advance(const std::string& utf8) const override { return runs_.advance(utf8); }
    double ascent() const override { return runs_.ascent(); }
    double descent() const override { return runs_.descent(); }
    std::string show(const std::string& utf8, double size, AppearanceFontNames& names) override;
    std::string resourceName() const override { return firstName_; }

  private:
    std::string nameFor(QPDFObjectHandle font);

    FallbackRuns& runs_;
    QPDFObjectHandle formFonts_;
    std::map<QPDFObjGen, std::string> names_;
    std::string firstName_;
};

}  // namespace relettra::pdf
