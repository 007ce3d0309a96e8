// Start-up and shutdown of the workspace on real data folders in a scratch directory.
#include "shell/qv_workspace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "catalogue/format_template.h"
#include "catalogue/format_template_manager.h"
#include "library/error_message.h"
#include "pool/string_pool.h"
#include "profile/qv_profile.h"
#include "temp_files.h"

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
