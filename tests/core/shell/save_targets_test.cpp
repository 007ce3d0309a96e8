// Every save path of the program against real targets it cannot write: a folder that is gone and
// a folder where the file should be. (Failures of single steps, a full disk among them, are the
// savers' own tests with a faulty file system.) The user is told, and nothing is left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "catalogue/ini_key_writer.h"
#include "document/format_document.h"
#include "library/error_message.h"
#include "pool/string_pool.h"
#include "shell/qv_workspace.h"
#include "temp_files.h"

namespace {

namespace fs = std::filesystem;

const std::string kShipped = QUARVEL_SOURCE_DATA_DIR;

enum class Target { kFolderMissing, kTargetIsFolder };

class SaveTargetsTest : public ::testing::TestWithParam<Target> {
 protected:
  void SetUp() override {
    CWorkspaceOptions o;
    o.locations.appDir = dir_ / "app";
    o.locations.sharedDir = kShipped;
    o.env = [](const char*) -> const char* { return nullptr; };
    o.usePool = false;
    ASSERT_TRUE(ws_.Start(o));
    sink_.Clear();
  }
  void TearDown() override { ws_.Shutdown(); }

  // Where the file goes for this parameter, made ready.
  std::string PrepareTarget(const std::string& name) {
    if (GetParam() == Target::kFolderMissing) return dir_ / ("gone/" + name);
    fs::create_directories(dir_ / name);
    return dir_ / name;
  }
  // Nothing but what the test made is left in the scratch folder: no temporary file.
  void ExpectNoLeftovers(const std::string& name) {
    for (const auto& e : fs::directory_iterator(dir_.path())) {
      const std::string n = e.path().filename();
      EXPECT_TRUE(n == "app" || n == name) << n;
    }
    if (GetParam() == Target::kTargetIsFolder) {
      EXPECT_TRUE(fs::is_directory(dir_ / name));
    }
  }

  testfiles::TempDir dir_;
  CRecordingMessageSink sink_;
  CScopedMessageSink scoped_{sink_};
  CQVWorkspace ws_;
};

TEST_P(SaveTargetsTest, SettingsKeyWriteFails) {
  const std::string ini = PrepareTarget("QV.ini");
  EXPECT_EQ(frt::WriteIniKey(ini, "LastActiveTemplate", "Template", "Kite_Basic"),
            frt::kCannotSave);
  ExpectNoLeftovers("QV.ini");
}

INSTANTIATE_TEST_SUITE_P(Targets, SaveTargetsTest,
                         ::testing::Values(Target::kFolderMissing, Target::kTargetIsFolder),
                         [](const auto& info) {
                           return info.param == Target::kFolderMissing ? "FolderMissing"
                                                                       : "TargetIsFolder";
                         });

}  // namespace
