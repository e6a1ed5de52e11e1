// A whole engine run on arbitrary PDF bytes, in each mode: "-tesome" with a fixed text rule,
// "-pisome" with a fixed image rule and "-piall" with a fixed keyword, through the runners as
// the command line calls them. Files go to a folder of this process under the temporary folder.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "marqel/marqel.h"
#include "runners/image_rules_runner.h"
#include "runners/text_rules_runner.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// An 8×8 red BMP, the image every mode draws.
std::string smallBmp() {
    std::string bmp(
        "BM\x16\x01\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x08\0\0\0\x08\0\0\0\x01\0\x18\0"
        "\0\0\0\0\xe0\0\0\0\x13\x0b\0\0\x13\x0b\0\0\0\0\0\0\0\0\0\0",
        54);
    for (int i = 0; i < 64; ++i) bmp += std::string("\0\0\xff", 3);
    return bmp;
}

void write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

struct Folder {
    ScratchFolder scratch;
    fs::path root = scratch.root();
    fs::path input = root / "input.pdf";
    fs::path output = root / "out.pdf";
    fs::path textRules = root / "rules.txt";
    fs::path imageRules = root / "imagerule.txt";
    fs::path image = root / "stamp.bmp";
    std::string imageBytes = smallBmp();

    Folder() {
        write(image, imageBytes);
        write(textRules, "1-150-100-400-50:Hello:Howdy\r\n2-0-0-0-0:a:b\r\n");
        write(imageRules,
              "1:100:100:(" + image.string() + "):50:50\r\n2:0:0:(" + image.string() + "):0:0\r\n");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Folder folder;
    write(folder.input, std::string(reinterpret_cast<const char*>(data), size));
    const std::string input = folder.input.string();
    const std::string output = folder.output.string();
    std::error_code ec;

    ReplaceTextByRules(input.c_str(), output.c_str(), folder.textRules.string().c_str());
    fs::remove(folder.output, ec);
    InsertImagesByRules(input.c_str(), output.c_str(), folder.imageRules.string().c_str());
    fs::remove(folder.output, ec);
    MarqelByKeyword(input.c_str(), output.c_str(), "Hello", folder.imageBytes.data(),
                    static_cast<int>(folder.imageBytes.size()), 40, 20, "");
    fs::remove(folder.output, ec);
    return 0;
}
