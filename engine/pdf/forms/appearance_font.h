#pragma once

#include <map>
#include <memory>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <unordered_map>

#include "pdf/fonts/pdf_font.h"

namespace relettra::pdf {

// The /Font resources of an appearance being written: resource name to font object.
using AppearanceFontNames = std::map<std::string, QPDFObjectHandle>;

// A font that a field's appearance writes its value in.
class AppearanceFont {
  public:
    virtual ~AppearanceFont() = default;
    // Whether every character of `utf8` can be shown; else `missing` (when given) receives the
    // first that cannot, a letter before a space.
    virtual bool canShow(const std::string& utf8, std::string* missing) const = 0;
    // Advance per unit font size.
    virtual double advance(const std::string& utf8) const = 0;
    virtual double ascent() const = 0;
    virtual double descent() const = 0;  // negative
    // Text-showing operators for `utf8` at `size` from the current point ("/F1 12 Tf <…> Tj",
    // one font change per run), every font used entered in `names`. Empty when nothing can be
    // shown.
    virtual std::string show(const std::string& utf8, double size, AppearanceFontNames& names) = 0;
    // The resource name that the field's /DA names for this font: for a font of several
    // parts, the part that showed the first text.
    virtual std::string resourceName() const = 0;
};

// A font of the form's own resources, as the field's /DA names it.
class FormResourceFont : public AppearanceFont {
  public:
    FormResourceFont(std::string resourceName, QPDFObjectHandle dictionary,
                     std::shared_ptr<const PdfFont> font);

    bool canShow(const std::string& utf8, std::string* missing) const override;
    double advance(const std::string& utf8) const override;
    double ascent() const override { return ascent_; }
    double descent() const override { return descent_; }
    std::string show(const std::string& utf8, double size, AppearanceFontNames& names) override;
    std::string resourceName() const override { return name_; }
    QPDFObjectHandle fontObject() const { return dictionary_; }
    // The font's /BaseFont (its resource name when it has none), for messages.
    std::string displayName() const;

  private:
    double advanceOf(char32_t c) const;

    std::string name_;
    QPDFObjectHandle dictionary_;
    std::shared_ptr<const PdfFont> font_;
    double ascent_ = 0.8;
    double descent_ = -0.2;
    mutable std::unordered_map<char32_t, double> advances_;
};

}  // namespace relettra::pdf
