// The stand-in as a caller loads it: from a folder, with its companions beside it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "rfclib/test_files.h"
#include "sapnwrfc.h"

namespace tw::nwrfclib {
namespace {

namespace fs = std::filesystem;

/// The folder the build puts the stand-in and its companions into.
const fs::path kFolder = NWRFC_FOLDER;

/// Copies the files of kFolder but `left_out` into `target`.
void copy_folder(const fs::path& target, const std::string& left_out) {
  fs::create_directories(target);
  for (const fs::directory_entry& entry : fs::directory_iterator(kFolder))
    if (entry.path().filename() != left_out)
      fs::copy_file(entry.path(), target / entry.path().filename());
}

/// dlopen's complaint about loading the library of `folder`; empty when it loads.
std::string load_error(const fs::path& folder, void*& library) {
  library = dlopen((folder / "libsapnwrfc.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  return library == nullptr ? dlerror() : "";
}

TEST(NwLoading, TheLibraryNeedsEveryCompanionInItsOwnFolder) {
  testing::ScratchDirectory scratch;
  for (const char* companion : {"libsapucum.so", "libicuuc.so.50", "libicudata.so.50",
                                "libicui18n.so.50", "libicudecnumber.so"}) {
    const fs::path folder = scratch.path() / (std::string("without-") + companion);
    copy_folder(folder, companion);
    void* library = nullptr;
    EXPECT_NE(load_error(folder, library).find(companion), std::string::npos) << companion;
    EXPECT_EQ(library, nullptr);
  }
  const fs::path whole = scratch.path() / "whole";
  copy_folder(whole, "");
  void* library = nullptr;
  ASSERT_EQ(load_error(whole, library), "");
  using GetVersion = const SAP_UC* (*)(unsigned*, unsigned*, unsigned*);
  const auto get_version = reinterpret_cast<GetVersion>(dlsym(library, "RfcGetVersion"));
  ASSERT_NE(get_version, nullptr);
  unsigned major = 0;
  get_version(&major, nullptr, nullptr);
  EXPECT_EQ(major, 7500u);
  // Only the operations of the interface are exported, nothing of the library's inside
  // (here tw::nwrfclib::state()).
  EXPECT_EQ(dlsym(library, "_ZN2tw8nwrfclib5stateEv"), nullptr);
  dlclose(library);
}

}  // namespace
}  // namespace tw::nwrfclib
