#include "pdf/pdf_api.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <new>
#include <qpdf/QPDFExc.hh>
#include <string>

#include "pdf/basics/utf8.h"
#include "pdf/content/text_interpreter.h"
#include "pdf/drawing/image_drawing.h"
#include "pdf/drawing/shape_drawing.h"
#include "pdf/drawing/text_drawing.h"
#include "pdf/facade_guard.h"
#include "pdf/fallback_font/fallback_font.h"
#include "pdf/fonts/font_look.h"
#include "pdf/fonts/ligature_text.h"
#include "pdf/form_fallback_runs.h"
#include "pdf/forms/field_value_edit.h"
#include "pdf/pdf_document.h"
#include "pdf/text/page_text_session.h"
#include "pdf/text/parse_callbacks_adapter.h"

using relettra::pdf::kErrFatal;
using relettra::pdf::kErrWarning;

namespace {

using relettra::pdf::guarded;

std::string text(const char* s) {
    return s != nullptr ? std::string(s) : std::string();
}

}  // namespace

PDF* pdfNewPDF() {
    try {
        return new PDF();
    } catch (...) {
        return nullptr;
    }
}

void pdfDeletePDF(PDF* pdf) {
    delete pdf;
}

void pdfSetOnErrorProc(PDF* pdf, const void* userData, TErrorProc proc) {
    if (pdf != nullptr) {
        pdf->errors().setProc(userData, proc);
    }
}

int pdfSetPageCoords(PDF* pdf, int coords) {
    return guarded(pdf, 0, [&](PDF& d) {
        d.setTopDownCoordinates(coords == 1);
        return 1;
    });
}

int pdfSetImportFlags(PDF* pdf, unsigned int) {
    return pdf != nullptr ? 1 : 0;
}

int pdfCreateNewPDFA(PDF* pdf, const char* outputPath) {
    return guarded(pdf, 0, [&](PDF& d) {
        d.create(text(outputPath));
        return 1;
    });
}

int pdfOpenImportFileA(PDF* pdf, const char* path, int, const char* password) {
    return guarded(pdf, -1, [&](PDF& d) { return d.openImport(text(path), text(password)); });
}

int pdfImportPDFFile(PDF* pdf, int, double, double) {
    return guarded(pdf, -1, [&](PDF& d) { return d.importPages(); });
}

int pdfCloseImportFile(PDF* pdf) {
    return guarded(pdf, 0, [&](PDF& d) {
        d.closeImport();
        return 1;
    });
}

int pdfGetPageCount(PDF* pdf) {
    return guarded(pdf, 0, [&](PDF& d) { return d.pageCount(); });
}

int pdfEditPage(PDF* pdf, int page) {
    return guarded(pdf, 0, [&](PDF& d) { return d.editPage(page) ? 1 : 0; });
}

double pdfGetPageHeight(PDF* pdf) {
    return guarded(pdf, 0.0, [&](PDF& d) {
        return d.openPage() != nullptr ? d.openPage()->geometry().displayedHeight() : 0.0;
    });
}

int pdfGetOpenPage(PDF* pdf) {
    return guarded(
        pdf, 0, [&](PDF& d) { return d.openPage() != nullptr ? d.openPage()->pageNumber() : 0; });
}

int pdfEndPage(PDF* pdf) {
    return guarded(pdf, 0, [&](PDF& d) { return d.endPage() ? 1 : 0; });
}

int pdfHaveOpenDoc(PDF* pdf) {
    return guarded(pdf, 0, [&](PDF& d) { return d.haveOpenDoc() ? 1 : 0; });
}

int pdfOpenOutputFileA(PDF* pdf, const char* outputPath) {
    return guarded(pdf, 0, [&](PDF& d) { return d.setOutputPath(text(outputPath)) ? 1 : 0; });
}

int pdfCloseFile(PDF* pdf) {
    return guarded(pdf, 0, [&](PDF& d) { return d.save() ? 1 : 0; });
}

int pdfSetUseTransparency(PDF* pdf, int) {
    return pdf != nullptr ? 1 : 0;
}

int pdfSetCompressionLevel(PDF* pdf, int) {
    return pdf != nullptr ? 1 : 0;
}

int pdfInsertImageFromBuffer(PDF* pdf, double x, double y, double width, double height,
                             const void* buffer, size_t size, int) {
    return guarded(pdf, 0, [&](PDF& d) {
        if (buffer == nullptr || size == 0) {
            d.errors().report(relettra::pdf::kErrValue, 0, "No image data.");
            return 0;
        }
        return relettra::pdf::drawImage(d, x, y, width, height, buffer, size) ? 1 : 0;
    });
}

namespace {

// The open page's text session: kept while the page stays open, started when there is none
// (what was drawn into an annotation's appearance is written there first, so that the session
// reads it), and brought up to date with the content drawn on the page since.
relettra::pdf::PageTextSession* liveSession(PDF& d) {
    relettra::pdf::PageEditor* page = d.openPage();
    if (page == nullptr) {
        return nullptr;
    }
    relettra::pdf::PageTextSession* session = d.textSession();
    if (session == nullptr) {
        page->finishAppearanceDrawing();
        session = d.startTextSession();
    }
    session->catchUp();
    return session;
}

void fillStack(const relettra::pdf::TextShow& show, std::string text, double advance,
               TPDFStack& stack) {
    const QPDFMatrix& c = show.ctm;
    const QPDFMatrix& t = show.tm;
    double ctm[6] = {c.a, c.b, c.c, c.d, c.e, c.f};
    double tm[6] = {t.a, t.b, t.c, t.d, t.e, t.f};
    std::copy(ctm, ctm + 6, stack.ctm);
    std::copy(tm, tm + 6, stack.tm);
    stack.x = 0;
    stack.y = 0;
    stack.fontSize = show.state.fontSize;
    stack.textRise = show.state.rise;
    stack.verticalWriting = show.state.font && show.state.font->isVertical();
    stack.sizeGuessedByReaders =
        show.state.font && show.state.font->kind() == relettra::pdf::PdfFont::Kind::Type3;
    if (show.state.font) {
        const relettra::pdf::TextLook& look = show.state.font->look();
        stack.fontFamily = look.form == relettra::pdf::LetterForm::Serif       ? "serif"
                           : look.form == relettra::pdf::LetterForm::Monospace ? "monospace"
                                                                               : "sans-serif";
        stack.fontStyle = (look.bold ? kFontStyleBold : 0) | (look.italic ? kFontStyleItalic : 0);
    }
    stack.text = std::move(text);
    stack.advance = advance;
}

}  // namespace

int pdfInitStack(PDF* pdf, TPDFStack* stack) {
    return guarded(pdf, 0, [&](PDF& d) {
        if (stack == nullptr || liveSession(d) == nullptr) {
            return 0;
        }
        *stack = TPDFStack();
        return 1;
    });
}

int pdfGetPageText(PDF* pdf, TPDFStack* stack) {
    return guarded(pdf, 0, [&](PDF& d) {
        relettra::pdf::PageTextSession* session = d.textSession();
        if (stack == nullptr || session == nullptr || stack->next >= session->size()) {
            return 0;
        }
        stack->record = stack->next++;
        fillStack(session->show(stack->record), session->text(stack->record),
                  session->advance(stack->record), *stack);
        return 1;
    });
}

int pdfReplacePageTextA(PDF* pdf, const char* newText, TPDFStack* stack) {
    return guarded(pdf, 0, [&](PDF& d) {
        relettra::pdf::PageTextSession* session = d.textSession();
        if (stack == nullptr || session == nullptr) {
            return 0;
        }
        return session->replace(stack->record, text(newText)) ? 1 : 0;
    });
}

int pdfGetTextBox(PDF* pdf, const TPDFStack* stack, size_t begin, size_t end, int asFirstRead,
                  double box[4]) {
    return guarded(pdf, -1, [&](PDF& d) {
        relettra::pdf::PageTextSession* session = d.textSession();
        relettra::pdf::PageEditor* page = d.openPage();
        if (stack == nullptr || box == nullptr || session == nullptr || page == nullptr ||
            stack->record >= session->size()) {
            return -1;
        }
        double upright[4];
        if (!session->textBox(stack->record, begin, end, upright)) {
            return 0;
        }
        if (asFirstRead != 0) {
            double x = (upright[0] + upright[2]) / 2;
            double y = (upright[1] + upright[3]) / 2;
            const double centreX = x;
            const double centreY = y;
            session->moves().undo(x, y);
            upright[0] += x - centreX;
            upright[2] += x - centreX;
            upright[1] += y - centreY;
            upright[3] += y - centreY;
        }
        // Upright to the caller's coordinates: only y may turn (top-down).
        double yA = 0;
        double yB = 0;
        double ignored = 0;
        d.toUpright(*page, 0, upright[1], ignored, yA);
        d.toUpright(*page, 0, upright[3], ignored, yB);
        box[0] = upright[0];
        box[1] = std::min(yA, yB);
        box[2] = upright[2];
        box[3] = std::max(yA, yB);
        return 1;
    });
}

int pdfGetMissingGlyph(PDF* pdf, const TPDFStack* stack, const char* utf8, std::string* character,
                       std::string* fontName) {
    return guarded(pdf, -1, [&](PDF& d) {
        std::function<bool(char32_t)> hasGlyph;
        std::string name;
        if (stack != nullptr) {
            relettra::pdf::PageTextSession* session = d.textSession();
            if (session == nullptr || stack->record >= session->size() ||
                !session->show(stack->record).state.font) {
                return -1;
            }
            const relettra::pdf::TextState& state = session->show(stack->record).state;
            const auto& font = state.font;
            hasGlyph = [&font](char32_t c) { return font->canEncode(c); };
            // A font without /BaseFont (Type 3) goes by its resource name.
            name = !font->baseFont().empty() || state.fontName.empty() ? font->baseFont()
                                                                       : state.fontName.substr(1);
        } else {
            relettra::pdf::FallbackFont* font = d.selectedFont();
            if (font == nullptr) {
                return -1;
            }
            hasGlyph = [font](char32_t c) { return font->covers(c); };
        }
        // Spaces last: many fonts have no space glyph (the gaps between words are moves), so
        // a letter the font lacks is the better answer.
        std::u32string characters = relettra::pdf::decodeUtf8(text(utf8));
        std::stable_partition(characters.begin(), characters.end(),
                              [](char32_t c) { return c != U' '; });
        for (char32_t c : characters) {
            if (!hasGlyph(c)) {
                // A font of the fallback chain that is not installed may be why.
                relettra::pdf::FallbackFont* fallback =
                    stack == nullptr ? d.selectedFont() : nullptr;
                if (fallback != nullptr) {
                    for (const std::string& problem : fallback->chainProblems()) {
                        d.errors().report(relettra::pdf::kErrWarning, 0,
                                          "A fallback font is missing: " + problem);
                    }
                }
                if (character != nullptr) {
                    character->clear();
                    relettra::pdf::appendUtf8(*character, c);
                }
                if (fontName != nullptr) {
                    *fontName = name;
                }
                return 1;
            }
        }
        return 0;
    });
}

int pdfCanShowText(PDF* pdf, const TPDFStack* stack, const char* utf8) {
    return guarded(pdf, -1, [&](PDF& d) {
        relettra::pdf::PageTextSession* session = d.textSession();
        if (stack == nullptr || session == nullptr || stack->record >= session->size() ||
            !session->show(stack->record).state.font) {
            return -1;
        }
        return session->show(stack->record).state.font->encode(text(utf8)) ? 1 : 0;
    });
}

int pdfFlushPageContent(PDF* pdf, TPDFStack*) {
    return guarded(pdf, 0, [&](PDF& d) {
        relettra::pdf::PageTextSession* session = d.textSession();
        return session != nullptr && session->hasChanges() ? 1 : 0;
    });
}

int pdfRemoveTextInArea(PDF* pdf, double x, double y, double width, double height) {
    return pdfRemoveTextInAreaAndSpans(pdf, x, y, width, height, nullptr, nullptr);
}

namespace {

void fillRecord(relettra::pdf::PageTextSession& session, size_t index, TPDFStack& stack) {
    stack.record = index;
    stack.next = index + 1;
    fillStack(session.show(index), session.text(index), session.advance(index), stack);
}

}  // namespace

int pdfGetPageRecord(PDF* pdf, size_t index, TPDFStack* stack) {
    return guarded(pdf, -1, [&](PDF& d) {
        relettra::pdf::PageTextSession* session = d.textSession();
        if (stack == nullptr || session == nullptr) {
            return -1;
        }
        if (index >= session->size()) {
            return 0;
        }
        fillRecord(*session, index, *stack);
        return 1;
    });
}

int pdfFindTextOverRecords(PDF* pdf, const char* utf8, std::vector<TPDFTextOverRecords>* found) {
    return guarded(pdf, -1, [&](PDF& d) {
        relettra::pdf::PageEditor* page = d.openPage();
        relettra::pdf::PageTextSession* session = liveSession(d);
        if (found == nullptr || session == nullptr) {
            return -1;
        }
        found->clear();
        if (!session->holdsEachCharacterOf(text(utf8))) {
            return 0;
        }
        for (const relettra::pdf::TextOverRecords& match :
             relettra::pdf::findTextOverRecords(session->glyphs(), text(utf8))) {
            TPDFTextOverRecords out;
            for (const relettra::pdf::RecordSpan& span : match.spans) {
                out.spans.push_back({span.record, span.begin, span.end});
            }
            // Upright to the caller's coordinates: only y may turn (top-down).
            double ignored = 0;
            double yA = 0;
            double yB = 0;
            d.toUpright(*page, 0, match.box[1], ignored, yA);
            d.toUpright(*page, 0, match.box[3], ignored, yB);
            out.box[0] = match.box[0];
            out.box[1] = std::min(yA, yB);
            out.box[2] = match.box[2];
            out.box[3] = std::max(yA, yB);
            found->push_back(std::move(out));
        }
        return static_cast<int>(found->size());
    });
}

int pdfReplaceTextSpans(PDF* pdf, const std::vector<TPDFTextEdit>& edits, int keepTextAfter) {
    return guarded(pdf, -1, [&](PDF& d) {
        relettra::pdf::PageTextSession* session = d.textSession();
        if (session == nullptr) {
            return -1;
        }
        std::vector<relettra::pdf::PageTextSession::SpanEdit> spanEdits;
        for (const TPDFTextEdit& edit : edits) {
            spanEdits.push_back(
                {edit.span.record, edit.span.begin, edit.span.end, edit.text, edit.keepPlace});
        }
        return session->replaceSpans(spanEdits, keepTextAfter != 0) ? 1 : 0;
    });
}

int pdfFindRecordsHolding(PDF* pdf, const char* utf8, std::vector<size_t>* records) {
    return guarded(pdf, -1, [&](PDF& d) {
        relettra::pdf::PageTextSession* session = liveSession(d);
        if (session == nullptr || records == nullptr || utf8 == nullptr) {
            return -1;
        }
        *records = session->recordsHolding(utf8);
        return static_cast<int>(records->size());
    });
}

int pdfMoveLineRest(PDF* pdf, const TPDFStack* line, double x, double y, double shift) {
    return guarded(pdf, -1, [&](PDF& d) {
        relettra::pdf::PageEditor* page = d.openPage();
        relettra::pdf::PageTextSession* session = liveSession(d);
        if (session == nullptr || line == nullptr || line->record >= session->size()) {
            return -1;
        }
        const relettra::pdf::TextLine on = session->lineOfRecord(line->record);
        double upX = 0;
        double upY = 0;
        d.toUpright(*page, x, y, upX, upY);
        const double from = (upX - on.x) * on.ux + (upY - on.y) * on.uy;
        session->moveLineRest(on, from, shift, {line->record});
        return 1;
    });
}

int pdfRemoveTextInAreaAndSpans(PDF* pdf, double x, double y, double width, double height,
                                const std::vector<TPDFTextSpan>* spans, TPDFStack* mostRemoved) {
    return guarded(pdf, -1, [&](PDF& d) {
        relettra::pdf::PageEditor* page = d.openPage();
        relettra::pdf::PageTextSession* session = liveSession(d);
        if (session == nullptr) {
            return -1;
        }
        double x0 = 0;
        double yA = 0;
        d.toUpright(*page, x, y, x0, yA);
        double yB = d.topDownCoordinates() ? yA - height : yA + height;
        std::vector<relettra::pdf::RecordSpan> recordSpans;
        if (spans != nullptr) {
            for (const TPDFTextSpan& span : *spans) {
                recordSpans.push_back({span.record, span.begin, span.end});
            }
        }
        size_t most = 0;
        const int removed = session->removeGlyphs(x0, std::min(yA, yB), x0 + width,
                                                  std::max(yA, yB), recordSpans, &most);
        if (removed > 0 && mostRemoved != nullptr) {
            fillRecord(*session, most, *mostRemoved);
        }
        const relettra::pdf::ContentScope* scope =
            removed > 0 ? session->show(most).scope : nullptr;
        // Text cleared from an annotation's appearance is written there again, above the page:
        // the appearance (the page's own copy) is written now, and a later reader starts a
        // session of its own that reads what was drawn into it.
        if (scope != nullptr && scope->isAppearance()) {
            session->write(d.qpdf(), d.sharedContentTest());
            QPDFMatrix formToUpright = page->geometry().userToUpright();
            formToUpright.concat(scope->placement);
            page->drawIntoAppearance(scope->owner, formToUpright, scope->annotation);
            d.endTextSession();
        }
        return removed;
    });
}

int pdfSetFillColor(PDF* pdf, unsigned int rgb) {
    return guarded(pdf, 0, [&](PDF& d) {
        d.setFillColor(rgb & 0xFFFFFF);
        return 1;
    });
}

int pdfRectangle(PDF* pdf, double x, double y, double width, double height, int mode) {
    return guarded(pdf, 0, [&](PDF& d) {
        return relettra::pdf::drawRectangle(d, x, y, width, height, mode) ? 1 : 0;
    });
}

int pdfSetFontA(PDF* pdf, const char* name, int style, double size, int, int) {
    return guarded(pdf, 0, [&](PDF& d) {
        if (!d.selectFallbackFont(size)) {
            return 0;
        }
        const relettra::pdf::NamedLook named = relettra::pdf::lookOfFontName(text(name));
        relettra::pdf::TextLook look;
        look.form = named.formKnown ? named.form : relettra::pdf::LetterForm::SansSerif;
        look.bold = named.bold || (style & kFontStyleBold) != 0;
        look.italic = named.italic || (style & kFontStyleItalic) != 0;
        d.selectedFont()->selectLook(look);
        return 1;
    });
}

int pdfGetWritingFonts(PDF* pdf, const char* utf8, std::string* names) {
    return guarded(pdf, 0, [&](PDF& d) {
        relettra::pdf::FallbackFont* font = d.selectedFont();
        if (font == nullptr || names == nullptr) {
            return 0;
        }
        names->clear();
        for (const std::string& name : font->fontNames(text(utf8))) {
            *names += (names->empty() ? "" : ", ") + name;
        }
        return 1;
    });
}

int pdfWriteTextA(PDF* pdf, double x, double y, const char* value, double room) {
    return guarded(pdf, 0, [&](PDF& d) {
        return relettra::pdf::drawText(d, x, y, text(value), 0, room) ? 1 : 0;
    });
}

int pdfWriteTextOnBaselineA(PDF* pdf, double x, double y, int angle, double room,
                            const char* value) {
    return guarded(pdf, 0, [&](PDF& d) {
        return relettra::pdf::drawTextOnBaseline(d, x, y, text(value), angle, room) ? 1 : 0;
    });
}

int pdfWriteTurnedTextA(PDF* pdf, double x, double y, double width, double height, int angle,
                        const char* value, double room) {
    return guarded(pdf, 0, [&](PDF& d) {
        // The corner of the box where the em box of the first glyph has its top.
        double cornerX = x;
        double cornerY = y;
        switch (angle) {
            case 90:
                cornerX = x + width;
                break;
            case 180:
                cornerX = x + width;
                cornerY = y + height;
                break;
            case 270:
                cornerY = y + height;
                break;
            default:
                angle = 0;
                break;
        }
        return relettra::pdf::drawText(d, cornerX, cornerY, text(value), angle, room) ? 1 : 0;
    });
}

int pdfParseContent(PDF* pdf, const void* data, const TPDFParseInterface* callbacks, int) {
    return guarded(pdf, -1, [&](PDF& d) {
        relettra::pdf::PageEditor* page = d.openPage();
        if (page == nullptr || callbacks == nullptr) {
            return -1;
        }
        relettra::pdf::PageContent& content = page->parsedContent();
        relettra::pdf::ParseCallbacksAdapter adapter(data, *callbacks);
        if (callbacks->beginText != nullptr) callbacks->beginText(data);
        bool complete = relettra::pdf::TextInterpreter(d.fonts()).run(
            content, page->geometry().userToUpright(), adapter);
        if (callbacks->endText != nullptr) callbacks->endText(data);
        return complete ? 1 : 0;
    });
}

int pdfPageShowsText(PDF* pdf, const char* utf8) {
    return guarded(pdf, -1, [&](PDF& d) {
        relettra::pdf::PageEditor* page = d.openPage();
        if (page == nullptr || utf8 == nullptr) {
            return -1;
        }
        relettra::pdf::TextInterpreter interpreter(d.fonts());
        return interpreter.showsText(page->parsedContent(), utf8) ? 1 : 0;
    });
}

namespace {

TPDFFieldStatus fieldStatus(relettra::pdf::FieldEditStatus status) {
    using relettra::pdf::FieldEditStatus;
    switch (status) {
        case FieldEditStatus::Changed:
            return TPDFFieldStatus::Changed;
        case FieldEditStatus::ChangedInFallback:
            return TPDFFieldStatus::ChangedInFallback;
        case FieldEditStatus::NoField:
            return TPDFFieldStatus::NoField;
        case FieldEditStatus::Signed:
            return TPDFFieldStatus::Signed;
        case FieldEditStatus::Button:
            return TPDFFieldStatus::Button;
        case FieldEditStatus::Choice:
            return TPDFFieldStatus::Choice;
        case FieldEditStatus::NotText:
            return TPDFFieldStatus::NotText;
        case FieldEditStatus::ReadOnly:
            return TPDFFieldStatus::ReadOnly;
        case FieldEditStatus::Password:
            return TPDFFieldStatus::Password;
        case FieldEditStatus::RichText:
            return TPDFFieldStatus::RichText;
        case FieldEditStatus::TooLong:
            return TPDFFieldStatus::TooLong;
        case FieldEditStatus::FallbackUnavailable:
            return TPDFFieldStatus::FallbackUnavailable;
        case FieldEditStatus::FallbackMissingGlyph:
            return TPDFFieldStatus::FallbackMissingGlyph;
    }
    return TPDFFieldStatus::Failed;
}

}  // namespace

int pdfReplaceFormFieldText(PDF* pdf, double x, double y, double width, double height,
                            const char* find, const char* replace, int occurrenceInArea,
                            TPDFFieldChange* change) {
    TPDFFieldChange result;
    result.status = TPDFFieldStatus::Failed;
    relettra::pdf::FieldChange prepared;
    std::unique_ptr<relettra::pdf::DocumentFallbackRuns> fallback;
    // Prepared first, the document untouched: an error there changes nothing.
    const int ready = guarded(pdf, 0, [&](PDF& d) {
        relettra::pdf::PageEditor* page = d.openPage();
        if (page == nullptr || find == nullptr || *find == '\0') {
            result.status = TPDFFieldStatus::NoField;
            return 0;
        }
        relettra::pdf::FieldEditPlace place;
        place.page = page->page().getObjectHandle();
        place.userToUpright = page->geometry().userToUpright();
        double x0 = 0;
        double yA = 0;
        d.toUpright(*page, x, y, x0, yA);
        const double yB = d.topDownCoordinates() ? yA - height : yA + height;
        place.area[0] = x0;
        place.area[1] = std::min(yA, yB);
        place.area[2] = x0 + width;
        place.area[3] = std::max(yA, yB);
        place.occurrenceInArea = occurrenceInArea != 0;
        fallback = std::make_unique<relettra::pdf::DocumentFallbackRuns>(d);
        const relettra::pdf::FieldEditOutcome outcome = relettra::pdf::prepareFieldEdit(
            d.qpdf(), d.fonts(), place, text(find), text(replace), *fallback, prepared);
        result.status = fieldStatus(outcome.status);
        result.noDefaultAppearance = outcome.noDefaultAppearance;
        result.fontNotInForm = outcome.fontNotInForm;
        result.fontName = outcome.fontName;
        result.character = outcome.character;
        result.fallbackCharacter = outcome.fallbackCharacter;
        result.newLength = outcome.newLength;
        result.maxLength = outcome.maxLength;
        return result.status == TPDFFieldStatus::Changed ||
                       result.status == TPDFFieldStatus::ChangedInFallback
                   ? 1
                   : 0;
    });
    int changed = ready;
    if (ready == 1) {
        changed = guarded(pdf, -1, [&](PDF& d) {
            prepared.apply(d.qpdf());
            return 1;
        });
    }
    if (change != nullptr) {
        *change = std::move(result);
    }
    return changed;
}

std::string pdfSpellOutLigatures(const std::string& utf8) {
    try {
        return relettra::pdf::hasLigature(utf8) ? relettra::pdf::spellOutLigatures(utf8) : utf8;
    } catch (...) {
        return utf8;
    }
}

double fntGetSpaceWidth(PDF* pdf, const void* font, double size) {
    return guarded(pdf, 0.0, [&](PDF&) {
        const auto* f = static_cast<const relettra::pdf::PdfFont*>(font);
        return f != nullptr ? f->spaceAdvance() * size : 0.0;
    });
}

int pdfCloseFileEx(PDF* pdf, const char* userPassword, const char* ownerPassword, int,
                   int restrictions) {
    return guarded(pdf, 0, [&](PDF& d) {
        if (!text(userPassword).empty()) {
            d.errors().report(relettra::pdf::kErrValue, 0, "An open password is not supported.");
            return 0;
        }
        PDF::OwnerOnlyEncryption encryption;
        encryption.ownerPassword = text(ownerPassword);
        encryption.allowPrint = (restrictions & 0x1) == 0;
        encryption.allowModify = (restrictions & 0x2) == 0;
        encryption.allowExtract = (restrictions & 0x4) == 0;
        encryption.allowAnnotate = (restrictions & 0x8) == 0;
        encryption.allowFillForms = (restrictions & 0x10) == 0;
        encryption.allowAccessibility = (restrictions & 0x20) == 0;
        encryption.allowAssemble = (restrictions & 0x40) == 0;
        encryption.allowPrintHighResolution = (restrictions & 0x81) == 0;
        d.setOutputEncryption(encryption);
        return d.save() ? 1 : 0;
    });
}
