// The shared data an installed program finds beside itself.
#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue/data_locations.h"
#include "catalogue/temp_files.h"

namespace {

TEST(InstalledSharedDir, FoundBesideTheProgramOnlyWithItsTemplates) {
  testfiles::TempDir prefix;
  std::filesystem::create_directories(prefix / "bin");
  EXPECT_EQ(CDataLocations::InstalledSharedDir(prefix / "bin/frtool"), "");

  std::filesystem::create_directories(prefix / "share/quarvel/Global");
  EXPECT_EQ(CDataLocations::InstalledSharedDir(prefix / "bin/frtool"), "")
      << "a data folder without templates is not the program's";

  std::filesystem::create_directories(prefix / "share/quarvel/Templates/Quarvel");
  EXPECT_EQ(CDataLocations::InstalledSharedDir(prefix / "bin/frtool"), prefix / "share/quarvel");
  EXPECT_EQ(CDataLocations::InstalledSharedDir(prefix / "bin/../bin/quarvel"),
            prefix / "share/quarvel");
  EXPECT_EQ(CDataLocations::InstalledSharedDir("frtool"), "");
}

TEST(InstalledSharedDir, ProgramsInTheBuildTreeUseTheSourceData) {
  // The test program lives in the build tree, where nothing is installed beside it.
  EXPECT_EQ(CDataLocations::BuiltInSharedDir(), QUARVEL_SOURCE_DATA_DIR);
}

}  // namespace
