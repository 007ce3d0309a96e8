#include "catalogue/data_locations.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "temp_files.h"

namespace {

using Strings = std::vector<std::string>;

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

TEST(DataLocations, SeedingTheApplicationDirectory) {
  testfiles::TempDir dir;
  const std::string shared = dir / "shared";
  std::filesystem::create_directories(shared + "/Global");
  std::filesystem::create_directories(shared + "/Format");
  for (const char* f : {"/Global/QV.ini", "/Format/a.frt", "/Format/B.FRT", "/Format/notes.txt"})
    ASSERT_TRUE(testfiles::WriteBytes(shared + f, f));
  CDataLocations loc;
  ASSERT_EQ(loc.Resolve({dir / "user/quarvel", shared}, Env({})), frt::kOk);
  // A user file already there is never overwritten; the examples are copied the first time.
  std::filesystem::create_directories(loc.GlobalDir());
  ASSERT_TRUE(testfiles::WriteBytes(loc.SettingsPath(), "mine"));
  Strings copied;
  ASSERT_EQ(loc.PrepareAppDir(&copied), frt::kOk);
  EXPECT_EQ(copied.size(), 2u);
  EXPECT_EQ(testfiles::ReadBytes(loc.SettingsPath()), "mine");
  EXPECT_EQ(testfiles::List(loc.FormatDir()), (Strings{"B.FRT", "a.frt"}));
  EXPECT_FALSE(testfiles::Exists(loc.PoolPath()));
  // Later starts: a lost settings file comes back, deleted examples do not.
  ASSERT_EQ(::unlink((loc.FormatDir() + "/B.FRT").c_str()), 0);
  ASSERT_EQ(::unlink(loc.SettingsPath().c_str()), 0);
  copied.clear();
  ASSERT_EQ(loc.PrepareAppDir(&copied), frt::kOk);
  EXPECT_EQ(copied, Strings{loc.SettingsPath()});
  EXPECT_EQ(testfiles::ReadBytes(loc.SettingsPath()), "/Global/QV.ini");
  EXPECT_EQ(testfiles::List(loc.FormatDir()), Strings{"a.frt"});
  // Failures are reported, not thrown; no shared data is no failure.
  CDataLocations blocked;
  ASSERT_TRUE(testfiles::WriteBytes(dir / "file", "a file where a folder should be"));
  ASSERT_EQ(blocked.Resolve({dir / "file/app", shared}, Env({})), frt::kOk);
  std::string failed;
  EXPECT_EQ(blocked.PrepareAppDir(nullptr, &failed), frt::kCannotSave);
  EXPECT_EQ(failed, blocked.AppDir());
  CDataLocations bare;
  ASSERT_EQ(bare.Resolve({dir / "other", dir / "nowhere"}, Env({})), frt::kOk);
  copied.clear();
  EXPECT_EQ(bare.PrepareAppDir(&copied), frt::kOk);
  EXPECT_TRUE(copied.empty());
}

}  // namespace
