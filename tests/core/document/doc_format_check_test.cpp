// Loads of small Kite_Basic files that each break one rule of the checks, or keep to them.
#include <string>

#include "document/doc_format.h"
#include "document/doc_test_env.h"

namespace {

using doctest::Frt;

const std::string kX121(121, 'x');

struct CheckCase {
  const char* name;
  std::string strings;
  int id;             // 0: the load passes without a message
  std::string extra;  // extra text of the message
  std::string version = "1.00";
  std::string instrument = "TS-Q6";
  std::string units = "SMCB";
};

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

using CheckTest = doctest::DocEnv;

TEST_F(CheckTest, FirstFailureShowsItsMessageAndLine) {
  const CheckCase cases[] = {
      {"no strings", "", 0, ""},
      {"instrument unknown", "", 1201, "", "1.00", "XX"},
      {"version", "", 1203, "", "1.0"},
      {"instrument units", "", 0, "", "1.00", "TS-Q6", "0000"},
      {"angular unit unknown", "", 1205, " Angular #W", "1.00", "TS-Q6", "QMCB"},
      {"pressure unit empty", "", 1205, " Pressure #P", "1.00", "TS-Q6", "SMC_"},
      {"valid block string", "$1112000\"%-16.0s\"011001001;101", 0, ""},
      {"variable of another export block", "$1112000\"%-16.0s\"011001061;101", 0, ""},
      {"string with text lacks application", "$1112000\"%-16.0s\"011001001;101\n$1112000\"b\"",
       1108, ""},
      {"unknown kind is the third string", "$1112000\"a\";101\n$1400000\"h\"\n$1600000\"x\"", 1206,
       " 23"},
      {"no definition for the block", "$1199000\"x\";101", 1207, " 21"},
      {"file header with a block", "$1401000\"x\"", 1207, " 21"},
      {"block header without definition", "$1299000\"x\"", 1207, " 21"},
      {"number in the key record", "$1112005\"a\";101", 1208, " 21"},
      {"more strings than the block allows", "$1120000\"a\";101\n$1120000\"b\";102", 1209, " 22"},
      {"block string too long", "$1116000\"" + kX121 + "\";101", 1210, " 21"},
      {"footer too long", "$1500000\"" + kX121 + "\"", 1210, " 21"},
      {"application header too long", "$1300000\"" + std::string(81, 'h') + "\";101", 1210, " 21"},
      {"block header too long", "$1212000\"" + kX121 + "\"", 1210, " 21"},
      {"too many variables", "$1116000\"a\"" + Repeat("011001038", 9) + ";101", 1211, " 21"},
      {"variable of no export block", "$1112000\"%-16.0s\"011001101;101", 1212, " 21"},
      {"variable of another type", "$1112000\"%12.3f\"208211051;101", 1212, " 21"},
      {"variable of another unit type", "$1112000\"%12.3lf\"109111051;101", 1212, " 21"},
      {"export-only variable in an import string", "$2112000\"%s\"011001008", 1212, " 21"},
      {"conversion without precision", "$1112000\"%-16s\"011001001;101", 1213, " 21"},
      {"second conversion does not parse", "$1112000\"%-16.0s %x\"011001001011001002;101", 1213,
       " 21"},
      {"unknown application", "$1112000\"a\";555", 1214, " 21"},
      {"application twice in a block", "$1112000\"a\";103\n$1112000\"b\";103", 1214, " 21"},
      {"application in export and import", "$1112000\"a\";103\n$2112000\"b\";103", 1214, " 21"},
      {"application in two blocks", "$1112000\"a\";103\n$1110000\"b\";103", 0, ""},
      {"application header with two applications", "$1300000\"h\";101102", 1215, " 21"},
      {"application header unknown application", "$1300000\"h\";777", 1214, " 21"},
      {"two file headers", "$1400000\"a\"\n$1400000\"b\"", 1216, " 21"},
      {"two headers of one application", "$1300000\"a\";101\n$1300000\"b\";101", 1216, " 21"},
      {"a later header holds the application second", "$1300000\"a\";101\n$1300000\"b\";104101",
       1216, " 21"},
      {"headers of two applications", "$1300000\"a\";101\n$1300000\"b\";102", 0, ""},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    sink_.Clear();
    const std::string path = WriteFile("T.frt", Frt(c.strings, c.version, c.instrument, c.units));
    CDocFormat doc(context_);
    doc.SetTemplate(KiteBasic());
    const int loaded = doc.Load(path);
    if (c.id == 0) {
      EXPECT_EQ(loaded, 1);
      EXPECT_TRUE(sink_.Empty()) << (sink_.Empty() ? "" : sink_.Last().text);
      continue;
    }
    EXPECT_EQ(loaded, 0);
    ASSERT_EQ(sink_.Count(), 1u);
    EXPECT_EQ(sink_.Last().id, c.id) << sink_.Last().text;
    EXPECT_EQ(sink_.Last().extra, c.extra);
    EXPECT_EQ(sink_.Last().kind, CMessage::Kind::kError);
  }
}

}  // namespace
