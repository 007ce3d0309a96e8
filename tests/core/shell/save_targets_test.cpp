// Every save path of the program against the three targets a user's machine can throw at it: a
// folder that is gone, a folder where the file should be, and a disk that takes no more bytes.
// Whatever happens, the user is told, and no file the user had is lost.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "catalogue/ini_key_writer.h"
#include "temp_files.h"
#include "document/format_document.h"
#include "library/error_message.h"
#include "library/faulty_file_system.h"
#include "pool/string_pool.h"
#include "profile/qv_profile.h"
#include "shell/qv_workspace.h"

namespace {

namespace fs = std::filesystem;
using testfiles::FaultyFileSystem;
using testfiles::ReadBytes;

const std::string kShipped = QUARVEL_SOURCE_DATA_DIR;

enum class Target { kFolderMissing, kTargetIsFolder, kDiskFull };

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

  // Where the file goes for this parameter, made ready; `fs` refuses writes on a full disk.
  std::string PrepareTarget(const std::string& name) {
    switch (GetParam()) {
      case Target::kFolderMissing:
        return dir_ / ("gone/" + name);
      case Target::kTargetIsFolder:
        fs::create_directories(dir_ / name);
        return dir_ / name;
      case Target::kDiskFull:
        fs_.FailAt(FaultyFileSystem::Step::kWrite, 1);
        return dir_ / name;
    }
    return {};
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
  FaultyFileSystem fs_;
};

TEST_P(SaveTargetsTest, FormatSaveReportsMessage1113) {
  CDocContext context = ws_.DocContext();
  context.fileSystem = &fs_;
  CFormatDocument doc(context);
  ASSERT_TRUE(doc.New());
  const std::string path = PrepareTarget("new.frt");
  EXPECT_EQ(doc.Save(path), CFormatDocument::SaveResult::kWriteFailed);
  ASSERT_EQ(sink_.Count(), 1u);
  EXPECT_EQ(sink_.Last().id, 1113);
  EXPECT_TRUE(doc.IsModified());  // the user still has unsaved work, and is asked again at close
  ExpectNoLeftovers("new.frt");
}

TEST_P(SaveTargetsTest, PoolSaveFailsAndStaysModified) {
  CStringPool pool(PrepareTarget("pool.dat"), &fs_);
  CFrtStringEx source;
  source.SetText("%-10.0s");
  ASSERT_EQ(pool.Add(MakePoolEntry(source, "entry", "Kite_Basic", "today")), frt::kOk);
  EXPECT_EQ(pool.Save(), frt::kCannotSave);
  EXPECT_EQ(pool.IsModified(), 1);  // so the save at exit tries again
  ExpectNoLeftovers("pool.dat");
}

TEST_P(SaveTargetsTest, SettingsKeyWriteKeepsTheFileAndReportsTheKey) {
  const std::string ini = PrepareTarget("QV.ini");
  EXPECT_EQ(frt::WriteIniKey(ini, "LastActiveTemplate", "Template", "Kite_Basic", &fs_),
            frt::kCannotSave);
  ExpectNoLeftovers("QV.ini");

  // Through the profile, as the exit does: the failure names the entry with text 1104.
  const std::string real = ws_.Locations().SettingsPath();
  const std::string before = ReadBytes(real);
  FaultyFileSystem full;
  full.FailAt(FaultyFileSystem::Step::kWrite, 1);
  CIniReader reader;
  CQVProfile profile(reader, ws_.Locations(), &full);
  ASSERT_TRUE(profile.Read());
  EXPECT_FALSE(profile.SetLastActive("TS-Q6", "Kite_Compact"));
  EXPECT_EQ(profile.ErrorText(),
            CErrorMessage::WriteErrorText("LastActiveTemplate", "Template") +
                CErrorMessage::WriteErrorText("LastActiveTemplate", "Instrument"));
  EXPECT_EQ(ReadBytes(real), before);
}

INSTANTIATE_TEST_SUITE_P(Targets, SaveTargetsTest,
                         ::testing::Values(Target::kFolderMissing, Target::kTargetIsFolder,
                                           Target::kDiskFull),
                         [](const auto& info) {
                           switch (info.param) {
                             case Target::kFolderMissing:
                               return std::string("FolderMissing");
                             case Target::kTargetIsFolder:
                               return std::string("TargetIsFolder");
                             default:
                               return std::string("DiskFull");
                           }
                         });

}  // namespace
