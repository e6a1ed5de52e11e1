#include "rules/rule_file_reader.h"

#include <cstdio>
#include <filesystem>

#include "base/file_bytes.h"

RuleFileReader::RuleFileReader(const std::string& path) : problem_(regularFileProblem(path)) {
    if (problem_.empty()) {
        in_.open(std::filesystem::u8path(path), std::ios::binary);
        if (!in_.is_open()) {
            problem_ = "cannot be opened";
        }
    }
}

bool RuleFileReader::next(std::string& line) {
    line.clear();
    if (!in_.is_open() || !std::getline(in_, line)) {
        return false;
    }
    lastHadLineEnd_ = !in_.eof();
    if (lastHadLineEnd_ && !line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

void RuleFileReader::echo(const std::string& line) const {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputs(lastHadLineEnd_ ? "\n\n" : "\n", stdout);
}
