#pragma once

// "-pisome": draws the image of every image rule of a rule file into the rule's area of its
// page and writes the output. Returns 1 on success; -1 when the input path is empty; -2 when
// the input file does not exist or an image file cannot be read (no output then); -3 when the
// input cannot be opened; -4 when the rule file cannot be read; -5 when the output could not be
// written; -6 when the engine failed (codes in marqel/exit_codes.h).
int InsertImagesByRules(const char* inputPath, const char* outputPath, const char* ruleFilePath);
