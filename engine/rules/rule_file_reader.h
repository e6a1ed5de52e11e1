#pragma once

#include <fstream>
#include <string>

// Reads a rule file line by line, whole lines of any length. A line ends with "\r\n" or a bare
// "\n"; a last line without line end counts as well. The file is opened for reading only.
class RuleFileReader {
  public:
    explicit RuleFileReader(const std::string& path);
    bool isOpen() const { return in_.is_open() && !in_.bad(); }

    // The next line without its line end; false at the end of the file.
    bool next(std::string& line);
    // Prints the line just read the way the engine echoes it: the line with its line end,
    // followed by one more line break.
    void echo(const std::string& line) const;

  private:
    std::ifstream in_;
    bool lastHadLineEnd_ = false;
};
