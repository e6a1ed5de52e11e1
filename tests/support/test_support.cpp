#include "test_support.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace testsupport {

namespace fs = std::filesystem;

fs::path runDir() {
    return fs::path(RELETTRA_TEST_RUN_DIR);
}
fs::path kitDir() {
    return fs::path(RELETTRA_TEST_DATA_DIR) / "kit";
}
fs::path imagesDir() {
    return fs::path(RELETTRA_TEST_DATA_DIR) / "images";
}
fs::path marqelPath() {
    return runDir() / "marqel";
}

CommandResult runTool(const std::string& tool, const std::vector<std::string>& args) {
    return run(fs::path(tool), args);
}

int signedExitCode(int status) {
    return status > 127 ? status - 256 : status;
}

TempDir::TempDir() {
    std::random_device random;
    for (;;) {
        fs::path candidate =
            fs::temp_directory_path() /
            ("relettra-test-" + std::to_string(random()) + "-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const fs::path& file, const std::string& content) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
}

std::vector<Word> extractWords(const fs::path& pdf) {
    CommandResult r = runTool("pdftotext", {"-bbox", "-cropbox", pdf.string(), "-"});
    std::vector<Word> words;
    int page = 0;
    static const std::regex wordLine(
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">(.*)</word>)re");
    std::istringstream lines(r.output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find("<page ") != std::string::npos) {
            ++page;
            continue;
        }
        std::smatch m;
        if (std::regex_search(line, m, wordLine)) {
            Word w;
            w.page = page;
            w.xMin = std::stod(m[1]);
            w.yMin = std::stod(m[2]);
            w.xMax = std::stod(m[3]);
            w.yMax = std::stod(m[4]);
            std::string text = m[5];
            // pdftotext writes the XML entities of &, < and >.
            for (auto [entity, plain] : {std::pair<std::string, std::string>{"&amp;", "&"},
                                         {"&lt;", "<"},
                                         {"&gt;", ">"},
                                         {"&quot;", "\""}}) {
                for (size_t p; (p = text.find(entity)) != std::string::npos;) {
                    text.replace(p, entity.size(), plain);
                }
            }
            w.text = text;
            words.push_back(w);
        }
    }
    return words;
}

std::string extractText(const fs::path& pdf, int page) {
    std::vector<std::string> args = {"-layout", "-cropbox"};
    if (page > 0) {
        args.insert(args.end(), {"-f", std::to_string(page), "-l", std::to_string(page)});
    }
    args.push_back(pdf.string());
    args.push_back("-");
    return runTool("pdftotext", args).output;
}

std::vector<FontRow> listFonts(const fs::path& pdf) {
    CommandResult r = runTool("pdffonts", {pdf.string()});
    std::vector<FontRow> rows;
    std::istringstream lines(r.output);
    std::string line;
    int n = 0;
    while (std::getline(lines, line)) {
        if (++n <= 2 || line.size() < 60) continue;
        // Columns: name (37), type (18), encoding (17), emb, sub, uni, object ID.
        FontRow row;
        auto trim = [](std::string s) {
            while (!s.empty() && s.back() == ' ') s.pop_back();
            return s;
        };
        row.name = trim(line.substr(0, 37));
        row.type = trim(line.substr(37, 18));
        row.encoding = trim(line.substr(55, 17));
        std::istringstream rest(line.substr(72));
        std::string emb, sub, uni;
        rest >> emb >> sub >> uni;
        row.embedded = emb == "yes";
        row.subset = sub == "yes";
        row.toUnicode = uni == "yes";
        rows.push_back(row);
    }
    return rows;
}

bool qpdfCheckPasses(const fs::path& pdf) {
    CommandResult r = runTool("qpdf", {"--check", pdf.string()});
    return r.exitCode == 0 &&
           r.output.find("No syntax or stream encoding errors") != std::string::npos;
}

std::string identifier(const std::string& text) {
    std::string name = text;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

void writeSolidBmp(const fs::path& file, int width, int height, unsigned char red,
                   unsigned char green, unsigned char blue) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const unsigned dataSize = static_cast<unsigned>(rowBytes * height);
    std::string bmp;
    auto put16 = [&bmp](unsigned v) {
        bmp += static_cast<char>(v & 0xff);
        bmp += static_cast<char>((v >> 8) & 0xff);
    };
    auto put32 = [&](unsigned v) {
        put16(v & 0xffff);
        put16(v >> 16);
    };
    bmp += "BM";
    put32(54 + dataSize);
    put32(0);
    put32(54);
    put32(40);
    put32(static_cast<unsigned>(width));
    put32(static_cast<unsigned>(height));
    put16(1);
    put16(24);
    put32(0);
    put32(dataSize);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            row += static_cast<char>(blue);
            row += static_cast<char>(green);
            row += static_cast<char>(red);
        }
        row.resize(static_cast<size_t>(rowBytes), '\0');
        bmp += row;
    }
    writeFile(file, bmp);
}

unsigned int Raster::pixel(int x, int y) const {
    const size_t i =
        (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
    return (static_cast<unsigned>(rgb[i]) << 16) | (static_cast<unsigned>(rgb[i + 1]) << 8) |
           rgb[i + 2];
}

Raster renderPage(const fs::path& pdf, int page, int dpi) {
    TempDir scratch;
    const std::string p = std::to_string(page);
    CommandResult r =
        runTool("pdftoppm", {"-cropbox", "-r", std::to_string(dpi), "-f", p, "-l", p, "-singlefile",
                             pdf.string(), (scratch / "page").string()});
    Raster raster;
    const std::string ppm = readFile(scratch / "page.ppm");
    if (r.exitCode != 0 || ppm.compare(0, 2, "P6") != 0) {
        return raster;
    }
    // Header: "P6", width, height, maximum value, each separated by white space, then one byte.
    std::istringstream header(ppm);
    std::string magic;
    int maxValue = 0;
    header >> magic >> raster.width >> raster.height >> maxValue;
    const size_t start = static_cast<size_t>(header.tellg()) + 1;
    const size_t size = static_cast<size_t>(raster.width) * static_cast<size_t>(raster.height) * 3;
    if (maxValue != 255 || ppm.size() < start + size) {
        return Raster();
    }
    raster.rgb.assign(ppm.begin() + static_cast<std::ptrdiff_t>(start),
                      ppm.begin() + static_cast<std::ptrdiff_t>(start + size));
    return raster;
}

}  // namespace testsupport
