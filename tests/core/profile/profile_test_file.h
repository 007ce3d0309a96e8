#pragma once
// A complete small settings file and the means to load it, or a variant of it, as the profile.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "catalogue/ini_reader.h"
#include "temp_files.h"
#include "library/error_message.h"
#include "library/safe_file.h"
#include "profile/qv_profile.h"

namespace proftest {

inline const char* const kIni =
    "; settings for tests\n"
    "[FileHeader]\nType=FRT_INI\nVersion=1.00\nCompany=C\nCreated=2026\nComment=test\n"
    "[UNITS]\nList=Linear,Angular,Temperature,Pressure\n"
    "[UNITS_Linear]\nUnit1=m\nValue1=M\nCode1=21\nUnit2=ft\nValue2=F\nCode2=22\n"
    "Unit3=usft\nValue3=U\nCode3=23\nSelected=1\n"
    "[UNITS_Angular]\nUnit1=gon\nValue1=G\nCode1=11\nUnit2=dms\nValue2=S\nCode2=12\nSelected=2\n"
    "[UNITS_Temperature]\nUnit1=C\nValue1=C\nCode1=31\nSelected=1\n"
    "[UNITS_Pressure]\nUnit1=mbar\nValue1=B\nCode1=41\nSelected=1\n"
    "[FLAGS]\nFlag1=scale\nValue1=1\nValid1=0\nFlag2=cut\nValue2=0\nValid2=1\n"
    "[Scalings]\nAngular=1.0\nLinear=2.5\nTemperature=1e3\nPressure=1.0\n"
    "[DefaultValues]\nFloatValue=-9999.999\nIntegerValue=-9999\nStringValue=----\n"
    "[PrintFDefaultSettings_String]\nAlign=1\nLength=16\nPrecision=0\nFillCharacter=1\n"
    "[PrintFDefaultSettings_Integer]\nAlign=0\nLength=6\nFillCharacter=0\nSign=1\nBase=0\n"
    "[PrintFDefaultSettings_Float]\nAlign=1\nLength=10\nPrecision=3\nFillCharacter=1\nSign=0\n"
    "Representation=2\nAlternateFormat=0\n"
    "[PrintFDefaultSettings_Character]\nAlign=1\nLength=4\n"
    "[ScanFDefaultSettings_String]\nSubpressAssignment=1\nLength=8\n"
    "[ScanFDefaultSettings_Integer]\nSubpressAssignment=0\nLength=-1\nBase=0\n"
    "[ScanFDefaultSettings_Float]\nSubpressAssignment=0\nLength=12\nRepresentation=1\n"
    "[ScanFDefaultSettings_Character]\nSubpressAssignment=0\nLength=-1\n"
    "[LastActiveTemplate]\nTemplate=Kite_Basic\nInstrument=TS-1\n";

// `text` with the first occurrence of `from` after the header of `section` replaced by `to`.
inline std::string Edit(std::string text, const std::string& section, const std::string& from,
                        const std::string& to) {
  const std::size_t s = text.find("[" + section + "]\n");
  const std::size_t p = s == std::string::npos ? s : text.find(from, s);
  if (p == std::string::npos)
    ADD_FAILURE() << "no " << from << " in " << section;
  else
    text.replace(p, from.size(), to);
  return text;
}

// A settings file in a scratch folder, its reader, and recorded messages.
class ProfileTest : public ::testing::Test {
 protected:
  std::string Path() const { return dir_ / "QV.ini"; }
  std::unique_ptr<CQVProfile> Make(const std::string& text, frt::FileSystem* fs = nullptr) {
    frt::SetOwnerWritable(Path(), true);  // a profile that ended made it read-only
    testfiles::WriteBytes(Path(), text);
    return std::make_unique<CQVProfile>(reader_, Path(), dir_ / "QV.tpl", dir_.path(), fs);
  }
  // Loaded profile and the result of Read().
  std::unique_ptr<CQVProfile> Load(const std::string& text, int& result) {
    auto profile = Make(text);
    result = profile->Read();
    return profile;
  }

  testfiles::TempDir dir_;
  CIniReader reader_;
  CRecordingMessageSink sink_;
  CScopedMessageSink scoped_{sink_};
};

}  // namespace proftest
