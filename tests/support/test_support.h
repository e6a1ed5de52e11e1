#pragma once

// Helpers shared by the engine and helper-program tests: running programs, temporary folders,
// and reading PDFs back with independent tools (poppler-utils, qpdf). What depends on the
// operating system (starting programs, limits, pipes) lives in platform_posix.cpp.

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// Paths known at build time.
std::filesystem::path runDir();      // the run folder: marqel, Tewkrun.dll, Dossaly.dll, ...
std::filesystem::path kitDir();      // tests/data/kit
std::filesystem::path imagesDir();   // tests/data/images
std::filesystem::path marqelPath();  // the engine program

struct CommandResult {
    int exitCode = -1;   // the program's exit status (0..255), -1 when it did not exit normally
    std::string output;  // standard output
    std::string errors;  // standard error
};

// Runs a program with arguments (no shell) and waits for it.
CommandResult run(const std::filesystem::path& program, const std::vector<std::string>& args);

// Limits for a program run by runLimited; 0 means none.
struct RunLimits {
    double seconds = 0;           // stopped (killed) beyond this wall-clock time
    std::size_t memoryBytes = 0;  // address space; with a sanitizer, resident memory instead
};
struct LimitedResult : CommandResult {
    bool timedOut = false;
    int signal = 0;                   // the signal that ended it, 0 when it exited
    double seconds = 0;               // wall-clock time
    std::size_t peakMemoryBytes = 0;  // largest resident set
};
// Runs a program under limits and reports how it ended, how long it took and its peak memory.
LimitedResult runLimited(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const RunLimits& limits);

// A named pipe (FIFO) at `file`; false when the system cannot make one.
bool makeFifo(const std::filesystem::path& file);
// A device that gives bytes for ever when read (/dev/zero).
std::filesystem::path endlessDevice();
// Runs a tool found on PATH (pdftotext, pdffonts, qpdf, ...).
CommandResult runTool(const std::string& tool, const std::vector<std::string>& args);

// The engine's exit code as the program returned it (negative codes come back as 256 + code).
int signedExitCode(int status);

// A fresh folder, removed with everything in it when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& content);

// One word as `pdftotext -bbox -cropbox` sees it: points, top-down, on the displayed page.
struct Word {
    int page = 0;  // 1-based
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    std::string text;
};
std::vector<Word> extractWords(const std::filesystem::path& pdf);
// The plain text of one page (0: all pages), as `pdftotext -layout` gives it.
std::string extractText(const std::filesystem::path& pdf, int page = 0);

// One row of `pdffonts`.
struct FontRow {
    std::string name, type, encoding;
    bool embedded = false, subset = false, toUnicode = false;
};
std::vector<FontRow> listFonts(const std::filesystem::path& pdf);

// True when `qpdf --check` finds no problem.
bool qpdfCheckPasses(const std::filesystem::path& pdf);

// `text` with every character that is not a letter or digit turned into "_" (a test name).
std::string identifier(const std::string& text);

// Writes a 24-bit BMP of one colour, `width` by `height` pixels.
void writeSolidBmp(const std::filesystem::path& file, int width, int height, unsigned char red,
                   unsigned char green, unsigned char blue);

// One page rendered by `pdftoppm -cropbox` (the displayed page, /Rotate applied): RGB bytes,
// row by row from the top.
struct Raster {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    // The colour at (x, y) as 0xRRGGBB.
    unsigned int pixel(int x, int y) const;
};
// Renders `page` (1-based) at `dpi`; an empty raster when pdftoppm fails.
Raster renderPage(const std::filesystem::path& pdf, int page, int dpi);

// The smallest rectangle holding every pixel for which `match` is true (inclusive bounds);
// found is false when there is none.
struct PixelBox {
    bool found = false;
    int left = 0, top = 0, right = 0, bottom = 0;
};
template <typename Match>
PixelBox findPixels(const Raster& raster, Match match) {
    PixelBox box;
    for (int y = 0; y < raster.height; ++y) {
        for (int x = 0; x < raster.width; ++x) {
            if (!match(raster.pixel(x, y))) continue;
            if (!box.found) {
                box = {true, x, y, x, y};
            } else {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
        }
    }
    return box;
}

}  // namespace testsupport
