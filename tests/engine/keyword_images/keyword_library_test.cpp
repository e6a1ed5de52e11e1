// The engine's shared library loaded at run time: MarqelByKeyword with and without an owner
// password. Encrypted outputs are checked with qpdf and poppler, which open them without a
// password.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "keyword_images_support.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using testsupport::kitDir;
using testsupport::runTool;

using MarqelByKeywordFn = int (*)(const char*, const char*, const char*, const char*, int, double,
                                  double, const char*);
using MarqelMainFn = int (*)(int, const char* const*);

class EngineLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const fs::path library = testsupport::runDir() / "libmarqel_engine.so";
        handle_ = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        byKeyword_ = reinterpret_cast<MarqelByKeywordFn>(dlsym(handle_, "MarqelByKeyword"));
        ASSERT_NE(byKeyword_, nullptr) << "MarqelByKeyword is not exported";
        image_ = testsupport::readFile(testsupport::imagesDir() / "png_rgb.png");
        ASSERT_FALSE(image_.empty());
    }
    void TearDown() override {
        if (handle_ != nullptr) dlclose(handle_);
    }
    int stamp(const fs::path& input, const char* keyword, const char* ownerPassword) {
        return byKeyword_(input.c_str(), out().c_str(), keyword, image_.data(),
                          static_cast<int>(image_.size()), 48, 36, ownerPassword);
    }
    fs::path out() const { return dir_ / "out.pdf"; }

    void* handle_ = nullptr;
    MarqelByKeywordFn byKeyword_ = nullptr;
    std::string image_;
    testsupport::TempDir dir_;
};

TEST_F(EngineLibraryTest, CommandLineEntryIsExportedToo) {
    auto main = reinterpret_cast<MarqelMainFn>(dlsym(handle_, "MarqelMain"));
    ASSERT_NE(main, nullptr);
    const char* argv[] = {"marqel"};
    EXPECT_EQ(main(1, argv), 0);
}

TEST_F(EngineLibraryTest, WithoutOwnerPasswordTheOutputIsNotEncrypted) {
    for (const char* password : {"", static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(password == nullptr ? "null password" : "empty password");
        ASSERT_EQ(stamp(kitDir() / "multipage.pdf", "STAMPME", password), 3);
        auto encrypted = runTool("qpdf", {"--is-encrypted", out().string()});
        EXPECT_EQ(encrypted.exitCode, 2) << "qpdf --is-encrypted: 2 means not encrypted";
        const auto images = kwtest::listDrawnImages(out());
        ASSERT_EQ(images.size(), 3u);
        EXPECT_EQ(images[0].width, 40);
        EXPECT_EQ(images[0].height, 30);
        fs::remove(out());
    }
}

TEST_F(EngineLibraryTest, OwnerPasswordGivesAes256WithAnEmptyOpenPassword) {
    ASSERT_EQ(stamp(kitDir() / "multipage.pdf", "STAMPME", "ownerSecret"), 3);
    ASSERT_TRUE(fs::exists(out()));

    // Encrypted, and no password needed to open it.
    EXPECT_EQ(runTool("qpdf", {"--is-encrypted", out().string()}).exitCode, 0);
    EXPECT_EQ(runTool("qpdf", {"--requires-password", out().string()}).exitCode, 3);

    auto shown = runTool("qpdf", {"--show-encryption", out().string()});
    ASSERT_EQ(shown.exitCode, 0) << shown.errors;
    EXPECT_NE(shown.output.find("R = 6\n"), std::string::npos) << shown.output;
    EXPECT_NE(shown.output.find("User password = \n"), std::string::npos) << shown.output;
    EXPECT_NE(shown.output.find("Supplied password is user password"), std::string::npos)
        << shown.output;
    EXPECT_NE(shown.output.find("stream encryption method: AESv3"), std::string::npos)
        << shown.output;
    EXPECT_NE(shown.output.find("string encryption method: AESv3"), std::string::npos)
        << shown.output;

    // The owner password is the one given.
    auto owner = runTool("qpdf", {"--show-encryption", "--password=ownerSecret", out().string()});
    EXPECT_NE(owner.output.find("Supplied password is owner password"), std::string::npos)
        << owner.output;

    // Restrictions 1848 deny changing annotations and filling in forms; printing, changing the
    // content, copying and assembling stay allowed.
    EXPECT_NE(shown.output.find("print high resolution: allowed"), std::string::npos)
        << shown.output;
    EXPECT_NE(shown.output.find("modify annotations: not allowed"), std::string::npos)
        << shown.output;
    EXPECT_NE(shown.output.find("modify forms: not allowed"), std::string::npos) << shown.output;
    EXPECT_NE(shown.output.find("extract for any purpose: allowed"), std::string::npos)
        << shown.output;
    EXPECT_NE(shown.output.find("modify document assembly: allowed"), std::string::npos)
        << shown.output;

    // Readers open it with an empty password and see text and stamps.
    auto text = runTool("pdftotext", {"-upw", "", out().string(), "-"});
    EXPECT_EQ(text.exitCode, 0) << text.errors;
    EXPECT_NE(text.output.find("Please STAMPME here"), std::string::npos) << text.output;
    EXPECT_EQ(kwtest::listDrawnImages(out()).size(), 3u);
    EXPECT_TRUE(testsupport::qpdfCheckPasses(out()));
}

TEST_F(EngineLibraryTest, KeywordFoundNowhereReturnsZeroAndWritesNothingEvenWithPassword) {
    EXPECT_EQ(stamp(kitDir() / "multipage.pdf", "NOWHEREWORD", "ownerSecret"), 0);
    EXPECT_FALSE(fs::exists(out()));
    EXPECT_EQ(stamp(kitDir() / "multipage.pdf", "", "ownerSecret"), -1);
    EXPECT_FALSE(fs::exists(out()));
}

}  // namespace
