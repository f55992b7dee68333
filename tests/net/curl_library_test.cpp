#include <dlfcn.h>
#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <string>

#include "net/curl_support.h"
#include "net_test_support.h"
#include "support/temp_dir.h"

namespace velmora {
namespace {

struct LibraryCase {
  const char* name;
  std::string file;
  std::string error_part;  // empty: the library loads
};

void PrintTo(const LibraryCase& c, std::ostream* out) {
  *out << c.name;
}

class CurlLibraryTest : public ::testing::TestWithParam<LibraryCase> {};

TEST_P(CurlLibraryTest, LoadsOnlyAFileWithEveryFunction) {
  const LibraryCase& c = GetParam();
  const curl::Library library(c.file);
  if (c.error_part.empty()) {
    ASSERT_TRUE(library.loaded()) << library.error();
    const curl::Functions& f = library.functions();
    // The functions are libcurl's own: a date reads as libcurl reads it, a handle comes and goes.
    EXPECT_EQ(f.getdate("Sun, 06 Nov 1994 08:49:37 GMT", nullptr), 784111777);
    EXPECT_EQ(f.getdate("no date", nullptr), -1);
    CURL* const handle = f.easy_init();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(f.easy_setopt(handle, CURLOPT_URL, "http://127.0.0.1:1/"), CURLE_OK);
    f.easy_cleanup(handle);
    curl_slist* const list = f.slist_append(nullptr, "Accept:");
    ASSERT_NE(list, nullptr);
    EXPECT_STREQ(list->data, "Accept:");
    f.slist_free_all(list);
  } else {
    EXPECT_FALSE(library.loaded());
    EXPECT_NE(library.error().find(c.error_part), std::string::npos) << library.error();
  }
}

const testing::TempDir kDir;
const std::string kTextFile = [] {
  const std::string path = (kDir / "libcurl.so.4").string();
  std::ofstream(path) << "not a library\n";
  return path;
}();

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, CurlLibraryTest, ::testing::Values(
    LibraryCase{"Libcurl",      curl::kLibraryFile,          ""},
    LibraryCase{"MissingFile",  "/nonexistent/libcurl.so.4", "/nonexistent/libcurl.so.4"},
    LibraryCase{"NotALibrary",  kTextFile,                   kTextFile},
    LibraryCase{"OtherLibrary", "libm.so.6",                 "curl_global_init"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(CurlLibraryTest, ProcessLibraryStaysOutOfTheGlobalScope) {
  // The program does not link libcurl, and loading it adds none of its names to the process:
  // nothing else can bind to it by accident.
  ASSERT_NE(curl::Loaded(), nullptr);
  EXPECT_TRUE(curl::EnsureInitialised());
  EXPECT_TRUE(testing::MapsLibrary("self", "libcurl"));
  EXPECT_EQ(dlsym(RTLD_DEFAULT, "curl_easy_init"), nullptr);
  EXPECT_EQ(dlsym(RTLD_DEFAULT, "curl_global_init"), nullptr);
}

}  // namespace
}  // namespace velmora
