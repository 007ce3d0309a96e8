#include "catalogue/data_locations.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "temp_files.h"

namespace {

// An environment of our own, so the tests do not depend on the user's.
CDataLocations::EnvLookup Env(const std::map<std::string, std::string>& vars) {
  return [vars](const char* name) -> const char* {
    const auto it = vars.find(name);
    return it == vars.end() ? nullptr : it->second.c_str();
  };
}

TEST(DataLocations, OptionBeatsEnvironmentBeatsDefault) {
  struct Case {
    CDataLocationOptions options;
    std::map<std::string, std::string> env;
    std::string app, shared;
  };
  const std::map<std::string, std::string> both = {
      {"QUARVEL_APP_DIR", "/env/app"}, {"QUARVEL_SHARED_DIR", "/env/shared"}, {"HOME", "/h"}};
  const Case cases[] = {
      {{"/opt/app", "/opt/shared"}, both, "/opt/app", "/opt/shared"},
      {{}, both, "/env/app", "/env/shared"},
      // Empty counts as unset; XDG_DATA_HOME counts only when absolute.
      {{}, {{"QUARVEL_APP_DIR", ""}, {"HOME", "/h"}}, "/h/.local/share/quarvel", "/default"},
      {{}, {{"HOME", "/h"}, {"XDG_DATA_HOME", "/data/u"}}, "/data/u/quarvel", "/default"},
      {{}, {{"HOME", "/h"}, {"XDG_DATA_HOME", "rel"}}, "/h/.local/share/quarvel", "/default"},
  };
  for (const Case& c : cases) {
    CDataLocations loc;
    ASSERT_EQ(loc.Resolve(c.options, Env(c.env), "/default"), frt::kOk);
    EXPECT_EQ(loc.AppDir(), c.app);
    EXPECT_EQ(loc.SharedDir(), c.shared);
  }
  CDataLocations loc;
  ASSERT_EQ(loc.Resolve({}, Env({})), frt::kOk);
  EXPECT_EQ(loc.SharedDir(), QUARVEL_SOURCE_DATA_DIR);  // the build tree's data
}

TEST(DataLocations, PathsAreAbsoluteAndDerivedBelowTheDirectories) {
  CDataLocations loc;
  ASSERT_EQ(loc.Resolve({"rel/app/", "/usr/share/quarvel//"}, Env({})), frt::kOk);
  const std::string app = std::filesystem::current_path().string() + "/rel/app";
  EXPECT_EQ(loc.AppDir(), app);
  EXPECT_EQ(loc.SettingsPath(), app + "/Global/QV.ini");
  EXPECT_EQ(loc.PoolPath(), app + "/pool.dat");
  EXPECT_EQ(loc.FormatDir(), app + "/Format");
  EXPECT_EQ(loc.TemplatePath(), "/usr/share/quarvel/Templates/Quarvel/QV.tpl");
}

TEST(DataLocations, InstalledSharedDirNeedsItsTemplates) {
  testfiles::TempDir prefix;
  std::filesystem::create_directories(prefix / "bin");
  std::filesystem::create_directories(prefix / "share/quarvel/Global");
  EXPECT_EQ(CDataLocations::InstalledSharedDir(prefix / "bin/frtool"), "");
  std::filesystem::create_directories(prefix / "share/quarvel/Templates/Quarvel");
  EXPECT_EQ(CDataLocations::InstalledSharedDir(prefix / "bin/../bin/quarvel"),
            prefix / "share/quarvel");
  EXPECT_EQ(CDataLocations::InstalledSharedDir("frtool"), "");
}

}  // namespace
