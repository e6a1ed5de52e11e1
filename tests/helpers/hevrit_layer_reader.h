#pragma once

// Reads a Hevrit text layer the way the front end does: for each of left/top/width/height the
// first occurrence of the key in the line, the key and one character skipped, then the text up
// to ';' or '"' as digits (anything else reads as 0); the word between the last '>' before the
// first "</span>" and that "</span>"; reading stops at the first line whose left and top are 0.

#include <sstream>
#include <string>
#include <vector>

struct LayerLine {
    int left = 0, top = 0, width = 0, height = 0;
    std::string word;  // as written (escaped)
};

inline int readLayerValue(const std::string& line, const std::string& key) {
    const size_t at = line.find(key);
    if (at == std::string::npos) return 0;
    const size_t start = at + key.size() + 1;
    const size_t end = line.find_first_of(";\"", start);
    const std::string digits = line.substr(start, end == std::string::npos ? end : end - start);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::stoi(digits);
}

// A written word with its "&amp;", "&lt;" and "&gt;" decoded.
inline std::string decodeWord(std::string text) {
    for (const auto& [entity, plain] :
         {std::pair<std::string, std::string>{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}}) {
        for (size_t at = 0; (at = text.find(entity, at)) != std::string::npos; at += plain.size()) {
            text.replace(at, entity.size(), plain);
        }
    }
    return text;
}

inline std::vector<LayerLine> readLayer(const std::string& text) {
    std::vector<LayerLine> words;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        LayerLine word{readLayerValue(line, "left"), readLayerValue(line, "top"),
                       readLayerValue(line, "width"), readLayerValue(line, "height"), ""};
        if (word.left == 0 && word.top == 0) break;
        const size_t close = line.find("</span>");
        const size_t open = line.rfind('>', close == std::string::npos ? close : close - 1);
        if (close != std::string::npos && open != std::string::npos) {
            word.word = line.substr(open + 1, close - open - 1);
        }
        words.push_back(word);
    }
    return words;
}
