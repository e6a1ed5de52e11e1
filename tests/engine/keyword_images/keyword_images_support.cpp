#include "keyword_images_support.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace kwtest {

namespace fs = std::filesystem;
using testsupport::CommandResult;

std::string imageRuleLine(int page, double left, double top, const fs::path& image, double width,
                          double height) {
    std::ostringstream line;
    line << page << ":" << left << ":" << top << ":(" << image.string() << "):" << width << ":"
         << height << "\r\n";
    return line.str();
}

namespace {

void put16(std::string& out, uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void put32(std::string& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

}  // namespace

std::string twoColourBmp(int width, int height, int topRows, uint32_t top, uint32_t bottom) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t dataSize = rowBytes * static_cast<uint32_t>(height);
    std::string out = "BM";
    put32(out, 54 + dataSize);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));  // positive: rows stored bottom-up
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, dataSize);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (int row = height - 1; row >= 0; --row) {
        const uint32_t colour = row < topRows ? top : bottom;
        std::string line;
        for (int x = 0; x < width; ++x) {
            line.push_back(static_cast<char>(colour & 0xFF));          // blue
            line.push_back(static_cast<char>((colour >> 8) & 0xFF));   // green
            line.push_back(static_cast<char>((colour >> 16) & 0xFF));  // red
        }
        line.resize(rowBytes, '\0');
        out += line;
    }
    return out;
}

std::string solidBmp(int width, int height, uint32_t colour) {
    return twoColourBmp(width, height, height, colour, colour);
}

std::vector<ImageRow> listImages(const fs::path& pdf) {
    CommandResult r = testsupport::runTool("pdfimages", {"-list", pdf.string()});
    if (r.exitCode != 0) {
        throw std::runtime_error("pdfimages -list failed on " + pdf.string() + ": " + r.errors);
    }
    std::vector<ImageRow> rows;
    std::istringstream lines(r.output);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        if (++lineNumber <= 2) {
            continue;  // header and ruler
        }
        std::istringstream fields(line);
        ImageRow row;
        int num = 0;
        std::string interp;
        if (fields >> row.page >> num >> row.type >> row.width >> row.height >> row.color >>
            row.comp >> row.bpc >> row.enc >> interp >> row.object) {
            rows.push_back(row);
        }
    }
    return rows;
}

std::vector<ImageRow> listDrawnImages(const fs::path& pdf) {
    std::vector<ImageRow> rows = listImages(pdf);
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [](const ImageRow& r) { return r.type != "image"; }),
               rows.end());
    return rows;
}

namespace {

std::string qdfText(const fs::path& pdf) {
    testsupport::TempDir scratch;
    const fs::path out = scratch / "out.qdf";
    CommandResult r = testsupport::runTool(
        "qpdf",
        {"--qdf", "--object-streams=disable", "--coalesce-contents", pdf.string(), out.string()});
    // 3: written with warnings.
    if (r.exitCode != 0 && r.exitCode != 3) {
        throw std::runtime_error("qpdf --qdf failed on " + pdf.string() + ": " + r.errors);
    }
    return testsupport::readFile(out);
}

void multiply(const double m[6], double ctm[6]) {
    const double r[6] = {
        m[0] * ctm[0] + m[1] * ctm[2],          m[0] * ctm[1] + m[1] * ctm[3],
        m[2] * ctm[0] + m[3] * ctm[2],          m[2] * ctm[1] + m[3] * ctm[3],
        m[4] * ctm[0] + m[5] * ctm[2] + ctm[4], m[4] * ctm[1] + m[5] * ctm[3] + ctm[5],
    };
    std::copy(r, r + 6, ctm);
}

bool isDelimiter(char c) {
    return std::isspace(static_cast<unsigned char>(c)) || c == '(' || c == ')' || c == '<' ||
           c == '>' || c == '[' || c == ']' || c == '{' || c == '}' || c == '/' || c == '%';
}

// Follows the graphics state of one content stream and records every Do.
void interpret(const std::string& content, int page, std::vector<Placement>& out) {
    struct State {
        double ctm[6];
    };
    std::vector<State> stack;
    State state{{1, 0, 0, 1, 0, 0}};
    std::vector<std::string> operands;
    size_t i = 0;
    const size_t n = content.size();
    while (i < n) {
        const char c = content[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '%') {
            while (i < n && content[i] != '\n' && content[i] != '\r') ++i;
        } else if (c == '(') {
            int depth = 0;
            for (; i < n; ++i) {
                if (content[i] == '\\') {
                    ++i;
                } else if (content[i] == '(') {
                    ++depth;
                } else if (content[i] == ')' && --depth == 0) {
                    ++i;
                    break;
                }
            }
            operands.push_back("(string)");
        } else if (c == '<' && i + 1 < n && content[i + 1] == '<') {
            int depth = 0;
            for (; i + 1 < n; ++i) {
                if (content[i] == '<' && content[i + 1] == '<') {
                    ++depth;
                    ++i;
                } else if (content[i] == '>' && content[i + 1] == '>') {
                    ++i;
                    if (--depth == 0) {
                        ++i;
                        break;
                    }
                }
            }
            operands.push_back("<<dict>>");
        } else if (c == '<') {
            while (i < n && content[i] != '>') ++i;
            ++i;
            operands.push_back("<hex>");
        } else if (c == '[' || c == ']' || c == '{' || c == '}') {
            operands.push_back(std::string(1, c));
            ++i;
        } else {
            size_t start = i;
            ++i;
            while (i < n && !isDelimiter(content[i])) ++i;
            std::string token = content.substr(start, i - start);
            const char first = token[0];
            if (first == '/' || first == '+' || first == '-' || first == '.' ||
                std::isdigit(static_cast<unsigned char>(first))) {
                operands.push_back(token);
                continue;
            }
            if (token == "q") {
                stack.push_back(state);
            } else if (token == "Q") {
                if (!stack.empty()) {
                    state = stack.back();
                    stack.pop_back();
                }
            } else if (token == "cm" && operands.size() >= 6) {
                double m[6];
                for (int k = 0; k < 6; ++k) {
                    m[k] = std::strtod(operands[operands.size() - 6 + k].c_str(), nullptr);
                }
                multiply(m, state.ctm);
            } else if (token == "Do" && !operands.empty()) {
                Placement p;
                p.page = page;
                p.name = operands.back();
                std::copy(state.ctm, state.ctm + 6, p.m);
                out.push_back(p);
            } else if (token == "BI") {
                size_t end = content.find("EI", i);
                i = end == std::string::npos ? n : end + 2;
            }
            operands.clear();
        }
    }
}

}  // namespace

double Placement::minX() const {
    return std::min({m[4], m[4] + m[0], m[4] + m[2], m[4] + m[0] + m[2]});
}
double Placement::maxX() const {
    return std::max({m[4], m[4] + m[0], m[4] + m[2], m[4] + m[0] + m[2]});
}
double Placement::minY() const {
    return std::min({m[5], m[5] + m[1], m[5] + m[3], m[5] + m[1] + m[3]});
}
double Placement::maxY() const {
    return std::max({m[5], m[5] + m[1], m[5] + m[3], m[5] + m[1] + m[3]});
}

std::vector<Placement> placements(const fs::path& pdf) {
    const std::string text = qdfText(pdf);
    std::vector<Placement> out;
    const std::string marker = "%% Contents for page ";
    for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + 1)) {
        const int page = std::atoi(text.c_str() + at + marker.size());
        size_t streamStart = text.find("stream\n", at);
        if (streamStart == std::string::npos) {
            break;
        }
        streamStart += 7;
        size_t streamEnd = text.find("endstream", streamStart);
        if (streamEnd == std::string::npos) {
            break;
        }
        interpret(text.substr(streamStart, streamEnd - streamStart), page, out);
    }
    return out;
}

std::vector<Placement> placementsOnPage(const std::vector<Placement>& all, int page) {
    std::vector<Placement> out;
    for (const Placement& p : all) {
        if (p.page == page) {
            out.push_back(p);
        }
    }
    return out;
}

int countImageObjects(const fs::path& pdf) {
    const std::string text = qdfText(pdf);
    int count = 0;
    for (size_t at = text.find("/Subtype /Image"); at != std::string::npos;
         at = text.find("/Subtype /Image", at + 1)) {
        ++count;
    }
    return count;
}

uint32_t Raster::at(int x, int y) const {
    const size_t i =
        (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
    return (static_cast<uint32_t>(rgb[i]) << 16) | (static_cast<uint32_t>(rgb[i + 1]) << 8) |
           rgb[i + 2];
}

Raster renderPage(const fs::path& pdf, int page) {
    testsupport::TempDir scratch;
    const fs::path prefix = scratch / "page";
    const std::string number = std::to_string(page);
    CommandResult r =
        testsupport::runTool("pdftoppm", {"-r", "72", "-cropbox", "-f", number, "-l", number,
                                          "-singlefile", pdf.string(), prefix.string()});
    if (r.exitCode != 0) {
        throw std::runtime_error("pdftoppm failed on " + pdf.string() + ": " + r.errors);
    }
    const std::string data = testsupport::readFile(prefix.string() + ".ppm");
    // P6 header: magic, width, height, maximum value, each followed by white space.
    std::istringstream header(data);
    std::string magic;
    int maxValue = 0;
    Raster raster;
    header >> magic >> raster.width >> raster.height >> maxValue;
    if (magic != "P6" || maxValue != 255) {
        throw std::runtime_error("unexpected pdftoppm output");
    }
    const size_t offset = static_cast<size_t>(header.tellg()) + 1;
    const size_t size = static_cast<size_t>(raster.width) * static_cast<size_t>(raster.height) * 3;
    if (data.size() < offset + size) {
        throw std::runtime_error("short pdftoppm output");
    }
    raster.rgb.assign(data.begin() + static_cast<std::ptrdiff_t>(offset),
                      data.begin() + static_cast<std::ptrdiff_t>(offset + size));
    return raster;
}

PixelBox findColour(const Raster& raster, uint32_t colour) {
    PixelBox box;
    box.left = raster.width;
    box.top = raster.height;
    auto near = [](uint32_t a, uint32_t b, int shift) {
        return std::abs(static_cast<int>((a >> shift) & 0xFF) -
                        static_cast<int>((b >> shift) & 0xFF)) <= 24;
    };
    for (int y = 0; y < raster.height; ++y) {
        for (int x = 0; x < raster.width; ++x) {
            const uint32_t p = raster.at(x, y);
            if (near(p, colour, 16) && near(p, colour, 8) && near(p, colour, 0)) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
                ++box.count;
            }
        }
    }
    return box;
}

CommandResult runMarqel(const std::vector<std::string>& args) {
    return testsupport::run(testsupport::marqelPath(), args);
}

}  // namespace kwtest
