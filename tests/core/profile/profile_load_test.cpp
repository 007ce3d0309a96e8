// Loading the settings file: every way a load fails or stops.
#include <gtest/gtest.h>

#include "profile_test_file.h"

namespace proftest {
namespace {

using Ids = std::vector<int>;

TEST_F(ProfileTest, LoadResultsAndMessages) {
  // Each case edits one line of the complete file; extra is the last message's extra text,
  // nullptr when not checked.
  const std::string listEntry = CErrorMessage::EntryText("UNITS", "List");
  const struct {
    const char* name;
    const char* section;
    const char* from;
    const char* to;
    int result;
    Ids ids;
    const char* extra;
  } cases[] = {
      // clang-format off
      {"WrongType", "FileHeader", "FRT_INI", "FRT_TPL", 0, {1010}, ""},
      {"NoComment", "FileHeader", "Comment=test", "Remark=x", 0, {1010}, ""},
      {"DuplicateType", "UNITS", "Pressure\n", "Pressure,Linear\n", 0, {1106}, "\nUNITS\nList=Linear"},
      {"MissingType", "UNITS", "Temperature,", "", 0, {1105}, ""},
      {"EmptyElementEndsList", "UNITS", "Linear,", "Linear,,", 0, {1105}, ""},
      {"NoList", "UNITS", "List=", "Lists=", 0, {1105}, listEntry.c_str()},
      {"FifthTypeWithoutSection", "UNITS", "Pressure\n", "Pressure,Volume\n", 0, {1010}, nullptr},
      {"SelectedZero", "UNITS_Pressure", "Selected=1", "Selected=0", 0, {1010}, nullptr},
      {"SelectedBeyondUnits", "UNITS_Linear", "Selected=1", "Selected=4", 0, {1010}, nullptr},
      {"SelectedMissing", "UNITS_Linear", "Selected=1", "Chosen=1", 0, {1010}, nullptr},
      {"UnitWithoutValueKeepsUnitsBefore", "UNITS_Linear", "Value2=F", "", 1, {1010}, nullptr},
      {"UnitWithoutCode", "UNITS_Linear", "Code2=22", "", 1, {1010}, nullptr},
      {"SelectedBeyondShortenedList", "UNITS_Angular", "Value2=S", "", 0, {1010, 1010}, nullptr},
      {"FlagListEndsAtBadValue", "FLAGS", "Value2=0", "Value2=5", 1, {}, nullptr},
      {"BadValidIsNotReported", "FLAGS", "Valid1=0", "Valid1=7", 1, {}, nullptr},
      {"DuplicateFlagFailsSilently", "FLAGS", "Flag2=cut", "Flag2=scale", 0, {}, nullptr},
      {"NoFlagsSection", "FLAGS", "[FLAGS]", "[NOFLAGS]", 1, {}, nullptr},
      {"ScaleNotANumber", "Scalings", "Linear=2.5", "Linear=abc", 0, {1010}, nullptr},
      {"ScaleMissing", "Scalings", "Pressure=1.0", "", 0, {1010}, nullptr},
      {"DefaultValuesMayBeEmpty", "DefaultValues", "StringValue=----", "StringValue=", 1, {}, nullptr},
      {"AlignOutOfRange", "PrintFDefaultSettings_String", "Align=1", "Align=2", 0, {1010}, nullptr},
      {"UncheckedLengthStillRequired", "PrintFDefaultSettings_Integer", "Length=6", "", 0, {1010}, nullptr},
      {"SignOutOfRange", "PrintFDefaultSettings_Integer", "Sign=1", "Sign=2", 0, {1010}, nullptr},
      {"BaseOutOfRange", "PrintFDefaultSettings_Integer", "Base=0", "Base=3", 0, {1010}, nullptr},
      {"RepresentationOutOfRange", "PrintFDefaultSettings_Float", "Representation=2", "Representation=3", 0, {1010}, nullptr},
      {"ScanLengthZero", "ScanFDefaultSettings_String", "Length=8", "Length=0", 0, {1010}, nullptr},
      {"ScanLengthAboveTwenty", "ScanFDefaultSettings_String", "Length=8", "Length=21", 0, {1010}, nullptr},
      {"ScanLengthTwenty", "ScanFDefaultSettings_String", "Length=8", "Length=20", 1, {}, nullptr},
      {"ScanLengthNone", "ScanFDefaultSettings_String", "Length=8", "Length=-1", 1, {}, nullptr},
      {"NoLastActiveTemplate", "LastActiveTemplate", "[LastActiveTemplate]", "[Other]", 1, {}, nullptr},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sink_.Clear();
    int result = -1;
    auto p = Load(Edit(kIni, c.section, c.from, c.to), result);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(sink_.Ids(), c.ids);
    if (c.extra != nullptr && !sink_.Empty()) {
      EXPECT_EQ(sink_.Last().extra, c.extra);
    }
  }
}

}  // namespace
}  // namespace proftest
