#pragma once

// Small generators of hostile inputs: PDF files with broken structure or content, images whose
// headers lie, rule files of absurd sizes. Every file is built in the test, none is committed.

#include <string>
#include <vector>

namespace hostile {

// A one-page PDF built from its objects, with a correct cross-reference table. `objects[i]` is
// the body of object i + 1; object 1 must be the catalog.
std::string pdfOf(const std::vector<std::string>& objects);
// "<< dict /Length n >>\nstream\n" data "\nendstream"
std::string streamObject(const std::string& dict, const std::string& data);

// A valid one-page document: Helvetica, "Hello STAMPME world" at 72/700, the page's content
// `content` when given.
std::string plainPdf(const std::string& content = "");

// The cases of the hostile suite.
std::string truncatedInTheMiddle();
std::string truncatedAfterTheHeader();
std::string brokenCrossReference();     // every offset wrong, startxref past the end
std::string crossReferenceChainLoop();  // /Prev names the table itself
std::string cyclicPageTree();           // /Kids holds the page tree node itself
std::string cyclicParentResources();    // a page inheriting resources from a /Parent cycle
std::string cyclicForms();              // form A draws B, B draws A
std::string formDrawingItself();
std::string formDrawingItselfEightTimes();
std::string formDrawingItselfSixTimesInPlace();  // no q … Q, the rule edits the page's text  // 8
                                                 // draws a level: exponential if unchecked
std::string unclosedString();
std::string unclosedArray();
std::string millionOperators();
std::string deeplyNestedArrays();  // 10^5 "[" in a content stream
std::string hugePage();            // 6500 × 6500 points, 183 million pixels at 150 dpi
std::string widthsShorterThanCodes();
std::string cmapWithBadRanges();  // overlapping and reversed ranges, an absurd one
// Form fields where the suite's text rule looks: a widget whose /Parent chain loops, its value
// and type in the loop; a multi-line field of automatic size holding a value of 600 kB.
std::string formFieldParentLoop();
std::string formFieldHugeValue();

// Images whose headers lie.
std::string pngClaiming65535Square();
// A GIF of one real pixel whose screen and first frame claim the sizes given.
std::string gifClaiming(int screenSide, int frameSide);
std::string bmpClaimingLargeSize();  // one row of pixels

// Rule files.
std::string textRulesOfLines(int lines, int page = 1);
std::string imageRulesOfLines(int lines, const std::string& imagePath);

}  // namespace hostile
