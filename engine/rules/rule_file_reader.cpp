#include "rules/rule_file_reader.h"

#include <cstdio>
#include <filesystem>

RuleFileReader::RuleFileReader(const std::string& path) {
    // A folder opens as a stream on some systems and then reads as empty: it is no rule file.
    std::error_code ec;
    const std::filesystem::path file = std::filesystem::u8path(path);
    if (!std::filesystem::is_directory(file, ec)) {
        in_.open(file, std::ios::binary);
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
