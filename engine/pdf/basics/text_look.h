#pragma once

namespace relettra::pdf {

// How the letters of a text look, as far as a fallback font can follow them: the kind of
// letter form and whether it is bold or italic.
enum class LetterForm { SansSerif, Serif, Monospace };

struct TextLook {
    LetterForm form = LetterForm::SansSerif;
    bool bold = false;
    bool italic = false;

    friend bool operator==(const TextLook& a, const TextLook& b) {
        return a.form == b.form && a.bold == b.bold && a.italic == b.italic;
    }
    friend bool operator!=(const TextLook& a, const TextLook& b) { return !(a == b); }
    friend bool operator<(const TextLook& a, const TextLook& b) {
        if (a.form != b.form) return a.form < b.form;
        if (a.bold != b.bold) return a.bold < b.bold;
        return a.italic < b.italic;
    }
};

}  // namespace relettra::pdf
