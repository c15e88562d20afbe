// Which RFC library a run takes from the program folder, and the "RFCLIB=" selector.
#include <gtest/gtest.h>

#include <set>

#include "rfc/rfc.h"

namespace tw {
namespace {

constexpr const char* kFolder = "/opt/tw/";

/// The pick in kFolder when just `files` are there.
RfcLibraryPick pick(RfcLibraryChoice choice, std::set<std::string> files) {
  std::set<std::string> paths;
  for (const std::string& file : files) paths.insert(kFolder + file);
  return pick_rfc_library(choice, kFolder,
                          [&](const std::string& path) { return paths.count(path) != 0; });
}

std::set<std::string> netweaver_with_companions() {
  std::set<std::string> files{std::string(kNwRfcLibraryFile)};
  for (const std::string_view companion : kNwRfcCompanions) files.emplace(companion);
  return files;
}

const std::string kClassic(kRfcLibraryFile), kNetWeaver(kNwRfcLibraryFile);

TEST(PickRfcLibrary, ClassicFirstThenNetWeaver) {
  std::set<std::string> both = netweaver_with_companions();
  both.insert(kClassic);
  EXPECT_EQ(pick(RfcLibraryChoice::either, both).kind, RfcLibraryKind::classic);
  EXPECT_EQ(pick(RfcLibraryChoice::either, netweaver_with_companions()).kind,
            RfcLibraryKind::netweaver);
  EXPECT_EQ(pick(RfcLibraryChoice::netweaver, both).kind, RfcLibraryKind::netweaver);
  EXPECT_EQ(pick(RfcLibraryChoice::classic, both).kind, RfcLibraryKind::classic);
}

TEST(PickRfcLibrary, MissingLibrariesNameTheFilesAndTheFolder) {
  EXPECT_EQ(pick(RfcLibraryChoice::either, {}).error,
            "Error 1009: RFC library " + kClassic + " or " + kNetWeaver + " not found in " +
                kFolder + " !");
  EXPECT_EQ(pick(RfcLibraryChoice::classic, netweaver_with_companions()).error,
            "Error 1009: RFC library " + kClassic + " not found in " + kFolder + " !");
  EXPECT_EQ(pick(RfcLibraryChoice::netweaver, {kClassic}).error,
            "Error 1009: RFC library " + kNetWeaver + " not found in " + kFolder + " !");
  EXPECT_EQ(pick_rfc_library(RfcLibraryChoice::either, "", [](const std::string&) { return true; })
                .error,
            "Error 1009: RFC library " + kClassic + " or " + kNetWeaver +
                " not loaded: the program's folder is unknown !");
}

TEST(PickRfcLibrary, EachCompanionMustBeBesideTheNetWeaverLibrary) {
  for (const std::string_view companion : kNwRfcCompanions) {
    std::set<std::string> files = netweaver_with_companions();
    files.erase(std::string(companion));
    const RfcLibraryPick picked = pick(RfcLibraryChoice::either, files);
    EXPECT_EQ(picked.kind, RfcLibraryKind::none);
    EXPECT_EQ(picked.error, "Error 1009: RFC library " + kNetWeaver + " in " + kFolder +
                                " lacks its companion " + std::string(companion) + " !");
  }
}

TEST(RfcLibrarySelector, NwOrClassicInAnyLetterCaseElseEither) {
  EXPECT_EQ(rfc_library_selector(""), RfcLibraryChoice::either);
  EXPECT_EQ(rfc_library_selector("RFCLIB=NW"), RfcLibraryChoice::netweaver);
  EXPECT_EQ(rfc_library_selector("@ RFCLIB=CLASSIC,HOST=X"), RfcLibraryChoice::classic);
  EXPECT_EQ(rfc_library_selector("XRFCLIB=NW #"), RfcLibraryChoice::netweaver);
  EXPECT_EQ(rfc_library_selector("RFCLIB=NW RFCLIB=CLASSIC"), RfcLibraryChoice::netweaver);
  for (const char* other : {"RFCLIB=", "RFCLIB=NWX", "RFCLIB=CLASSICAL", "RFCLIB= NW"}) {
    EXPECT_EQ(rfc_library_selector(other), RfcLibraryChoice::either) << other;
  }
  RunSettings settings;
  const char* argv[] = {"p", "PRD", "rfclib=Nw", "@"};
  take_command_line(settings, 4, argv);
  EXPECT_EQ(rfc_library_selector(settings.option_upper), RfcLibraryChoice::netweaver);
}

}  // namespace
}  // namespace tw
