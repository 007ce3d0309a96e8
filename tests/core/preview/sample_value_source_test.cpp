// Sample values rendered through the engine: pool defaults, scaling, and the codes without one.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "catalogue/format_template_manager.h"
#include "catalogue/ini_reader.h"
#include "temp_files.h"
#include "catalogue/tpl_builder.h"
#include "library/error_message.h"
#include "library/frt_engine.h"
#include "library/frt_file.h"
#include "preview/sample_value_source.h"

namespace {

class SampleValueSourceTest : public ::testing::Test {
 protected:
  SampleValueSourceTest() {
    auto b = testfiles::TplBuilder::Minimal();
    b.Variable(2, "Easting", 2, 8, 2, "12.5")
        .Variable(3, "Count", 3, 4, 0, "1234")
        .Variable(4, "Empty", 4, 11, 0, "")
        .Variable(5, "Code", 5, 12, 0, "KZ")
        .Variable(6, "Angle", 6, 9, 1, "-3.25")
        .Variable(7, "Word", 7, 11, 0, "12abc");
    testfiles::WriteBytes(dir_ / "QV.tpl", b.Text());
    catalogue_ = std::make_unique<CFormatTemplateManager>(reader_, dir_ / "QV.tpl");
    EXPECT_EQ(catalogue_->Read(), 1);
    source_.SetCatalogue(catalogue_.get());
    format_.SetScale(2, 2.0);
    format_.SetScale(1, 10.0);
    format_.SetDefaultString(11, "<none>");
    engine_.AttachFormat(&format_);
  }
  std::string Render(const char* text, int code, int unitType, int options) {
    CFrtString s;
    s.SetText(text);
    CFrtVariable v;
    v.code = static_cast<std::uint16_t>(code);
    v.unitType = static_cast<std::uint8_t>(unitType);
    v.options = static_cast<std::uint8_t>(options);
    s.AddVariable(v);
    std::string out;
    engine_.Render(&s, out);
    return out;
  }

  CRecordingMessageSink sink_;
  CScopedMessageSink scoped_{sink_};
  testfiles::TempDir dir_;
  CIniReader reader_;
  std::unique_ptr<CFormatTemplateManager> catalogue_;
  CSampleValueSource source_;
  CFrtEngine engine_{&source_};
  CFrtFileEx format_;
};

TEST_F(SampleValueSourceTest, RendersPoolDefaults) {
  struct {
    const char* text;
    int code;
    int unitType;
    int options;
    const char* expected;
  } cases[] = {
      {"%.1f", 2, 2, 1, "25.0"},    // scaled by the linear factor
      {"%.1f", 2, 2, 0, "12.5"},    // bit 1 clear
      {"%.1f", 2, 0, 1, "12.5"},    // no unit type
      {"%.1f", 2, 5, 1, "12.5"},    // unit type outside 1 to 4
      {"%.2f", 6, 1, 1, "-32.50"},  // the record's unit type picks the factor
      {"%.2f", 6, 2, 1, "-6.50"},
      {"%.0f", 3, 0, 1, "1234"},  // integers are read as doubles
      {"%d", 3, 0, 1, "1234"},    // and as integers by an integer conversion
      {"%hd", 3, 0, 1, "1234"},
      {"%s", 1, 0, 1, "P1"},
      {"[%5.0s]", 4, 0, 1, "[     ]"},  // empty default padded to the width
      {"%c", 5, 0, 1, "K"},
      {"%s", 3, 0, 1, "1234"},     // a number asked for as text
      {"%.0f", 7, 0, 1, "12"},     // a text asked for as a number
      {"%s", 99, 0, 1, "<none>"},  // code not in the pool: the default output string
  };
  for (const auto& c : cases)
    EXPECT_EQ(Render(c.text, c.code, c.unitType, c.options), c.expected)
        << c.text << " code " << c.code;
}

TEST_F(SampleValueSourceTest, ByCodeAndAccept) {
  const void* value = nullptr;
  ASSERT_EQ(source_.ValueByCode(2, value), frt::kOk);
  EXPECT_DOUBLE_EQ(*static_cast<const double*>(value), 12.5);  // never scaled
  ASSERT_EQ(source_.ValueByCode(5, value), frt::kOk);
  EXPECT_STREQ(static_cast<const char*>(value), "KZ");
  EXPECT_EQ(source_.ValueByCode(99, value), frt::kNotFound);
  EXPECT_EQ(value, nullptr);
  EXPECT_EQ(source_.Accept(CFrtVariable{}, CFrtInputValue{}), frt::kOk);
}

}  // namespace
