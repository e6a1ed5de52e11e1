// The rule-line readers on arbitrary lines: every line of the input as a text rule and as an
// image rule, the values text of the image rule, and the leading-number readers.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/leading_number.h"
#include "rules/rule_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        const TextRuleLine textRule = ParseTextRuleLine(line);
        PixelsToPoints(textRule.left);
        PixelsToPoints(textRule.height);
        const ImageRuleLine imageRule = ParseImageRuleLine(line);
        ImageRuleValuesText(imageRule);
        PixelsToPoints(imageRule.width);
        ReadLeadingDouble(line);
        ReadLeadingInt(line.c_str());
        start = end + 1;
    }
    return 0;
}
