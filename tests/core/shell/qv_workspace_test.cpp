// Start-up and shutdown of the workspace on real data folders in a scratch directory.
#include "shell/qv_workspace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "catalogue/format_template.h"
#include "catalogue/format_template_manager.h"
#include "temp_files.h"
#include "library/error_message.h"
#include "pool/string_pool.h"
#include "profile/qv_profile.h"

namespace {

namespace fs = std::filesystem;
using testfiles::ReadBytes;
using testfiles::WriteBytes;

const std::string kShipped = QUARVEL_SOURCE_DATA_DIR;

class WorkspaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A shared folder of our own, so that a test can break its files.
    fs::create_directories(Shared() + "/Global");
    fs::create_directories(Shared() + "/Templates/Quarvel");
    fs::copy_file(kShipped + "/Global/QV.ini", Shared() + "/Global/QV.ini");
    fs::copy_file(kShipped + "/Templates/Quarvel/QV.tpl", TplPath());
  }

  std::string Shared() const { return dir_ / "shared"; }
  std::string App() const { return dir_ / "app"; }
  std::string IniPath() const { return App() + "/Global/QV.ini"; }
  std::string TplPath() const { return Shared() + "/Templates/Quarvel/QV.tpl"; }

  CWorkspaceOptions Options(bool usePool = true) const {
    CWorkspaceOptions o;
    o.locations.appDir = App();
    o.locations.sharedDir = Shared();
    o.env = [](const char*) -> const char* { return nullptr; };
    o.usePool = usePool;
    return o;
  }

  // Replaces the first `from` in a file.
  void EditFile(const std::string& path, const std::string& from, const std::string& to) {
    std::string text = ReadBytes(path);
    const auto p = text.find(from);
    ASSERT_NE(p, std::string::npos) << from;
    text.replace(p, from.size(), to);
    ASSERT_TRUE(WriteBytes(path, text));
  }

  static bool OwnerWritable(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) != 0;
  }

  testfiles::TempDir dir_;
  CRecordingMessageSink sink_;
  CScopedMessageSink scoped_{sink_};
};

TEST_F(WorkspaceTest, StartsOnShippedDataAndStopsWithTheSettingsReadOnly) {
  CQVWorkspace ws;
  ASSERT_TRUE(ws.Start(Options()));
  EXPECT_TRUE(sink_.Empty());
  ASSERT_NE(ws.Catalogue(), nullptr);
  EXPECT_NE(ws.Catalogue()->FindTemplate("Kite_Basic"), nullptr);
  ASSERT_NE(ws.Pool(), nullptr);  // no pool.dat yet: an empty pool
  EXPECT_EQ(ws.Pool()->Path(), App() + "/pool.dat");
  EXPECT_EQ(ReadBytes(IniPath()), ReadBytes(Shared() + "/Global/QV.ini"));  // seeded
  EXPECT_TRUE(OwnerWritable(IniPath()));
  ws.Shutdown();
  EXPECT_EQ(ws.Profile(), nullptr);
  EXPECT_EQ(ws.Catalogue(), nullptr);
  EXPECT_FALSE(OwnerWritable(IniPath()));
}

TEST_F(WorkspaceTest, SettingsThatDoNotLoadEndTheStart) {
  fs::remove(Shared() + "/Global/QV.ini");  // nothing to seed from
  CQVWorkspace missing;
  EXPECT_FALSE(missing.Start(Options()));
  EXPECT_FALSE(sink_.Empty());

  fs::copy_file(kShipped + "/Global/QV.ini", Shared() + "/Global/QV.ini");
  EditFile(Shared() + "/Global/QV.ini", "Type=FRT_INI", "Type=FRT_XXX");
  sink_.Clear();
  CQVWorkspace broken;
  EXPECT_FALSE(broken.Start(Options()));
  EXPECT_FALSE(broken.IsRunning());
  EXPECT_EQ(broken.Profile(), nullptr);
  EXPECT_EQ(broken.Catalogue(), nullptr);
  ASSERT_FALSE(sink_.Empty());
  EXPECT_EQ(sink_.Messages().front().id, 1010);
}

TEST_F(WorkspaceTest, TemplatesThatDoNotLoadEndTheStart) {
  EditFile(TplPath(), "Type=FRT_TPL", "Type=FRT_TPL ");
  CQVWorkspace ws;
  EXPECT_FALSE(ws.Start(Options()));
  EXPECT_EQ(ws.Profile(), nullptr);
  EXPECT_EQ(ws.Pool(), nullptr);  // the pool comes after the catalogue
  EXPECT_EQ(sink_.Ids(), std::vector<int>{1010});
  EXPECT_FALSE(OwnerWritable(IniPath()));  // the dropped profile made the settings read-only
}

TEST_F(WorkspaceTest, ApplicationFolderThatCannotBeMadeEndsTheStart) {
  ASSERT_TRUE(WriteBytes(dir_ / "file", "x"));
  CWorkspaceOptions o = Options();
  o.locations.appDir = dir_ / "file/app";
  CQVWorkspace ws;
  EXPECT_FALSE(ws.Start(o));
  ASSERT_EQ(sink_.Ids(), std::vector<int>{1010});
  EXPECT_NE(sink_.Last().extra.find(dir_ / "file/app"), std::string::npos);
}

TEST_F(WorkspaceTest, PoolThatCannotBeLoadedOrCreatedIsLeftOut) {
  const std::string damaged("\x01\x00\x00\x00\x80", 5);
  fs::create_directories(App());
  ASSERT_TRUE(WriteBytes(App() + "/pool.dat", damaged));
  {
    CQVWorkspace ws;
    ASSERT_TRUE(ws.Start(Options()));
    EXPECT_EQ(ws.Pool(), nullptr);
    EXPECT_EQ(sink_.Ids(), std::vector<int>{1251});
    EXPECT_EQ(sink_.Last().kind, CMessage::Kind::kWarning);
  }
  EXPECT_EQ(ReadBytes(App() + "/pool.dat"), damaged);  // not overwritten at exit

  sink_.Clear();
  CQVWorkspace withoutPool;  // a tool that does not ask for the pool is not warned
  ASSERT_TRUE(withoutPool.Start(Options(false)));
  EXPECT_TRUE(sink_.Empty());

  CWorkspaceOptions o = Options();
  o.makePool = [](const std::string&) { return std::unique_ptr<CStringPool>(); };
  CQVWorkspace uncreated;
  ASSERT_TRUE(uncreated.Start(o));
  EXPECT_EQ(uncreated.Pool(), nullptr);
  EXPECT_EQ(sink_.Ids(), std::vector<int>{1111});
  EXPECT_TRUE(sink_.Last().isError);
}

TEST_F(WorkspaceTest, NewFileTemplateIsRecordedAsLastActiveAtExit) {
  {
    CQVWorkspace ws;
    ASSERT_TRUE(ws.Start(Options()));
    const CFormatTemplate* tpl = ws.ChooseNewFileTemplate();
    ASSERT_NE(tpl, nullptr);
    EXPECT_EQ(tpl->Name(), "Kite_Basic");
    EXPECT_EQ(ws.NewFileTemplate(), tpl);
    ws.SetNewFileTemplate(ws.Catalogue()->FindTemplate("Kite_GNSS"));
  }
  CQVWorkspace again;
  ASSERT_TRUE(again.Start(Options()));
  std::string instrument, name;
  again.Profile()->GetLastActive(instrument, name);
  EXPECT_EQ(name, "Kite_GNSS");
  EXPECT_EQ(instrument, "GC-Q3");
  again.Shutdown();

  // Without a new file nothing is written.
  const std::string before = ReadBytes(IniPath());
  ASSERT_TRUE(again.Start(Options()));
  again.Shutdown();
  EXPECT_EQ(ReadBytes(IniPath()), before);
}

TEST_F(WorkspaceTest, NoKiteBasicMeansNewDoesNothing) {
  std::string tpl = ReadBytes(TplPath());
  for (std::size_t p; (p = tpl.find("Kite_Basic")) != std::string::npos;)
    tpl.replace(p, 10, "Kite_Other");
  ASSERT_TRUE(WriteBytes(TplPath(), tpl));
  CQVWorkspace ws;
  ASSERT_TRUE(ws.Start(Options()));
  EXPECT_EQ(ws.ChooseNewFileTemplate(), nullptr);
  EXPECT_EQ(ws.NewFileTemplate(), nullptr);
  EXPECT_TRUE(sink_.Empty());
}

TEST_F(WorkspaceTest, FormatFolderIsTheWorkingDirectoryOnlyWhenAsked) {
  const fs::path before = fs::current_path();
  CWorkspaceOptions o = Options();
  o.enterFormatDir = true;
  CQVWorkspace ws;
  ASSERT_TRUE(ws.Start(o));
  EXPECT_EQ(fs::current_path(), fs::path(App() + "/Format"));
  ws.Shutdown();
  EXPECT_EQ(fs::current_path(), before);
}

}  // namespace
