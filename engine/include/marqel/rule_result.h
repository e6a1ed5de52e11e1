#pragma once

// The line the engine prints after each rule of "-tesome" and "-pisome" (after the rule's other
// lines), saying what became of it. Callers that read the engine's output, the front end's
// batches among them, rely on these words:
//   Rule result: own font                  the text was replaced inside the page's own font
//   Rule result: own font: form field      a form field's value was changed, and its widgets
//                                          show it in the field's own font
//   Rule result: fallback font: <reason>; written in <fonts>
//                                          the area was cleared and the text written in the
//                                          fallback fonts, why, and in which fonts (their names
//                                          separated by ", ": "Liberation Serif Bold")
//   Rule result: fallback font: form field: <reason>
//                                          a form field's value was changed, and its widgets
//                                          show it in the fallback font, and why
//   Rule result: image placed              the image was drawn
//   Rule result: not done: <reason>        nothing was changed, and why
// A reason is one line of plain English text.

#define MARQEL_RULE_RESULT_PREFIX "Rule result: "
#define MARQEL_RULE_RESULT_OWN_FONT "own font"
#define MARQEL_RULE_RESULT_FALLBACK_FONT "fallback font"
#define MARQEL_RULE_RESULT_FORM_FIELD "form field"
#define MARQEL_RULE_RESULT_IMAGE_PLACED "image placed"
#define MARQEL_RULE_RESULT_NOT_DONE "not done"
#define MARQEL_RULE_RESULT_WRITTEN_IN "; written in "
