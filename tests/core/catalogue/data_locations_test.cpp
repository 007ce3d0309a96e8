#include "catalogue/data_locations.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <map>
#include <string>

#include "catalogue/temp_files.h"

namespace {

using testfiles::TempDir;

// An environment of our own, so the tests do not depend on the user's.
struct FakeEnv {
  std::map<std::string, std::string> vars;
  CDataLocations::EnvLookup lookup() const {
    return [this](const char* name) -> const char* {
      const auto it = vars.find(name);
      return it == vars.end() ? nullptr : it->second.c_str();
    };
  }
};

TEST(DataLocations, OptionBeatsEnvironmentBeatsDefault) {
  FakeEnv env;
  env.vars = {
      {"QUARVEL_APP_DIR", "/env/app"}, {"QUARVEL_SHARED_DIR", "/env/shared"}, {"HOME", "/home/u"}};
  CDataLocations loc;
  ASSERT_EQ(loc.Resolve({"/opt/app", "/opt/shared"}, env.lookup(), "/default"), frt::kOk);
  EXPECT_EQ(loc.AppDir(), "/opt/app");
  EXPECT_EQ(loc.SharedDir(), "/opt/shared");

  ASSERT_EQ(loc.Resolve({}, env.lookup(), "/default"), frt::kOk);
  EXPECT_EQ(loc.AppDir(), "/env/app");
  EXPECT_EQ(loc.SharedDir(), "/env/shared");

  env.vars["QUARVEL_APP_DIR"] = "";  // empty counts as unset
  env.vars.erase("QUARVEL_SHARED_DIR");
  ASSERT_EQ(loc.Resolve({}, env.lookup(), "/default"), frt::kOk);
  EXPECT_EQ(loc.AppDir(), "/home/u/.local/share/quarvel");
  EXPECT_EQ(loc.SharedDir(), "/default");

  ASSERT_EQ(loc.Resolve({}, env.lookup()), frt::kOk);
  EXPECT_EQ(loc.SharedDir(), CDataLocations::BuiltInSharedDir());
  EXPECT_EQ(CDataLocations::BuiltInSharedDir(), QUARVEL_SOURCE_DATA_DIR);
}

TEST(DataLocations, DefaultApplicationDirectoryFollowsXdg) {
  FakeEnv env;
  env.vars = {{"HOME", "/home/u"}, {"XDG_DATA_HOME", "/data/u"}};
  CDataLocations loc;
  ASSERT_EQ(loc.Resolve({}, env.lookup()), frt::kOk);
  EXPECT_EQ(loc.AppDir(), "/data/u/quarvel");
  for (const char* ignored : {"", "relative/data"}) {
    env.vars["XDG_DATA_HOME"] = ignored;
    ASSERT_EQ(loc.Resolve({}, env.lookup()), frt::kOk);
    EXPECT_EQ(loc.AppDir(), "/home/u/.local/share/quarvel") << ignored;
  }
}

TEST(DataLocations, PathsAreAbsoluteAndDerivedBelowTheDirectories) {
  FakeEnv env;
  CDataLocations loc;
  ASSERT_EQ(loc.Resolve({"rel/app/", "/usr/share/quarvel//"}, env.lookup()), frt::kOk);
  char cwd[4096];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(loc.AppDir(), std::string(cwd) + "/rel/app");
  EXPECT_EQ(loc.SharedDir(), "/usr/share/quarvel");
  EXPECT_EQ(loc.SettingsPath(), std::string(cwd) + "/rel/app/Global/QV.ini");
  EXPECT_EQ(loc.PoolPath(), std::string(cwd) + "/rel/app/pool.dat");
  EXPECT_EQ(loc.FormatDir(), std::string(cwd) + "/rel/app/Format");
  EXPECT_EQ(loc.TemplatePath(), "/usr/share/quarvel/Templates/Quarvel/QV.tpl");
}

class DataLocationsSeed : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string shared = dir_ / "shared";
    ASSERT_EQ(::mkdir(shared.c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((shared + "/Global").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((shared + "/Format").c_str(), 0755), 0);
    ASSERT_TRUE(
        testfiles::WriteBytes(shared + "/Global/QV.ini", "[FileHeader]\r\nType=FRT_INI\r\n"));
    ASSERT_TRUE(testfiles::WriteBytes(shared + "/Format/a.frt", "A"));
    ASSERT_TRUE(testfiles::WriteBytes(shared + "/Format/B.FRT", "B"));
    ASSERT_TRUE(testfiles::WriteBytes(shared + "/Format/notes.txt", "no"));
    FakeEnv env;
    ASSERT_EQ(loc_.Resolve({dir_ / "user/quarvel", shared}, env.lookup()), frt::kOk);
  }

  TempDir dir_;
  CDataLocations loc_;
};

TEST_F(DataLocationsSeed, FirstStartCreatesAndSeedsTheApplicationDirectory) {
  std::vector<std::string> copied;
  ASSERT_EQ(loc_.PrepareAppDir(&copied), frt::kOk);
  EXPECT_EQ(testfiles::ReadBytes(loc_.SettingsPath()), "[FileHeader]\r\nType=FRT_INI\r\n");
  EXPECT_EQ(testfiles::List(loc_.FormatDir()), (std::vector<std::string>{"B.FRT", "a.frt"}));
  EXPECT_EQ(copied.size(), 3u);
  EXPECT_FALSE(testfiles::Exists(loc_.PoolPath()));
}

TEST_F(DataLocationsSeed, UserFilesAreNeverOverwritten) {
  ASSERT_EQ(::mkdir((dir_ / "user").c_str(), 0755), 0);
  ASSERT_EQ(::mkdir(loc_.AppDir().c_str(), 0755), 0);
  ASSERT_EQ(::mkdir(loc_.GlobalDir().c_str(), 0755), 0);
  ASSERT_TRUE(testfiles::WriteBytes(loc_.SettingsPath(), "mine"));
  std::vector<std::string> copied;
  ASSERT_EQ(loc_.PrepareAppDir(&copied), frt::kOk);
  EXPECT_EQ(testfiles::ReadBytes(loc_.SettingsPath()), "mine");
  EXPECT_EQ(copied.size(), 2u);  // the examples only

  // Later starts: a lost settings file comes back, deleted examples do not.
  ASSERT_TRUE(testfiles::WriteBytes(loc_.FormatDir() + "/a.frt", "edited"));
  ASSERT_EQ(::unlink((loc_.FormatDir() + "/B.FRT").c_str()), 0);
  ASSERT_EQ(::unlink(loc_.SettingsPath().c_str()), 0);
  copied.clear();
  ASSERT_EQ(loc_.PrepareAppDir(&copied), frt::kOk);
  EXPECT_EQ(copied, std::vector<std::string>{loc_.SettingsPath()});
  EXPECT_EQ(testfiles::ReadBytes(loc_.FormatDir() + "/a.frt"), "edited");
  EXPECT_EQ(testfiles::List(loc_.FormatDir()), std::vector<std::string>{"a.frt"});
}

TEST_F(DataLocationsSeed, FailuresAreReportedNotThrown) {
  ASSERT_TRUE(testfiles::WriteBytes(dir_ / "user", "a file where a folder should be"));
  std::string failed;
  EXPECT_EQ(loc_.PrepareAppDir(nullptr, &failed), frt::kCannotSave);
  EXPECT_EQ(failed, loc_.AppDir());

  // No shared data is no failure: the settings load reports the missing file later.
  CDataLocations bare;
  FakeEnv env;
  ASSERT_EQ(bare.Resolve({dir_ / "other", dir_ / "nowhere"}, env.lookup()), frt::kOk);
  std::vector<std::string> copied;
  EXPECT_EQ(bare.PrepareAppDir(&copied), frt::kOk);
  EXPECT_TRUE(copied.empty());
  EXPECT_TRUE(testfiles::List(bare.GlobalDir()).empty());
}

}  // namespace
