#pragma once

#include <fstream>
#include <string>

// Reads a rule file line by line, whole lines of any length. A line ends with "\r\n" or a bare
// "\n"; a last line without line end counts as well. The file is opened for reading only, and
// only when it is a regular file: a device or a pipe would never end.
class RuleFileReader {
  public:
    explicit RuleFileReader(const std::string& path);
    bool isOpen() const { return in_.is_open() && !in_.bad(); }
    // Why the file is not open ("no such file", "is a folder", ...); empty when it is.
    const std::string& problem() const { return problem_; }

    // The next line without its line end; false at the end of the file, or when the file could
    // not be read on (then failed() is true).
    bool next(std::string& line);
    // Whether reading stopped on an error (out of memory for a line, a read error) before the
    // end of the file: the lines read so far are not the whole file.
    bool failed() const { return in_.bad(); }
    // Prints the line just read the way the engine echoes it: the line with its line end,
    // followed by one more line break.
    void echo(const std::string& line) const;

  private:
    std::ifstream in_;
    std::string problem_;
    bool lastHadLineEnd_ = false;
};
