#include "catalogue/ini_key_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(IniKeyText, WhereTheKeyGoes) {
  struct Case {
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
  };
  const std::string two = "; c\n[A]\nSel=1\n[B]\nSel=2  \nOther=x\nSel=3\n";
  const std::string crlf = "[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n";
  const Case cases[] = {
      // Existing key: only the value of the first one of the section is replaced.
      {two, "B", "Sel", "7", "; c\n[A]\nSel=1\n[B]\nSel=7\nOther=x\nSel=3\n"},
      {two, "B", "Other", "", "; c\n[A]\nSel=1\n[B]\nSel=2  \nOther=\nSel=3\n"},
      {"[S]\nA=1\n[T]\n[S]\nK=old\n", "S", "K", "new", "[S]\nA=1\n[T]\n[S]\nK=new\n"},
      {crlf, "A", "X", "9", "[A]\r\nX=9\r\n\r\n[B]\r\nY=2\r\n"},
      // Keys match as the reader matches them; a header with more after it is another section.
      {"[S]\nName10=t\n Name1=c\n;Name1=c\nname1=l\n", "S", "Name1", "1",
       "[S]\nName10=t\n Name1=c\n;Name1=c\nname1=l\nName1=1\n"},
      {"[S] ; c\nK=1\n", "S", "K", "2", "[S] ; c\nK=1\n[S]\nK=2\n"},
      // New key: after the last filled line of the first block of its section; elsewhere
      // nothing moves.
      {"[A]\nKey=a\n\n[B]\nX=1\n\n\n[C]\nKey=c\n", "B", "Key", "b",
       "[A]\nKey=a\n\n[B]\nX=1\nKey=b\n\n\n[C]\nKey=c\n"},
      {"[S]\n\n[T]\n", "S", "K", "v", "[S]\nK=v\n\n[T]\n"},
      {"[S]\nA=1\n  \t\n\n[T]\n", "S", "K", "v", "[S]\nA=1\nK=v\n  \t\n\n[T]\n"},
      {"[S]\nA=1\n;note\n[T]\n", "S", "K", "v", "[S]\nA=1\n;note\nK=v\n[T]\n"},
      {"[S]\nA=1\n[T]\n[S]\nB=2\n", "S", "K", "v", "[S]\nA=1\nK=v\n[T]\n[S]\nB=2\n"},
      {"[S]\nA=1", "S", "K", "v", "[S]\nA=1\nK=v"},
      {crlf, "A", "Z", "3", "[A]\r\nX=1\r\nZ=3\r\n\r\n[B]\r\nY=2\r\n"},
      {"[A]\r\nX=1", "A", "Z", "3", "[A]\r\nX=1\r\nZ=3"},
      // New section: at the end.
      {"[A]\nX=1\n", "Last", "T", "K", "[A]\nX=1\n[Last]\nT=K\n"},
      {"[A]\nX=1", "B", "K", "v", "[A]\nX=1\n[B]\nK=v\n"},
      {"", "B", "K", "v", "[B]\nK=v\n"},
      {crlf, "C", "Z", "3", crlf + "[C]\r\nZ=3\r\n"},
  };
  for (const Case& c : cases) {
    std::string text = c.before;
    EXPECT_EQ(frt::SetIniKeyInText(text, c.section, c.key, c.value), frt::kOk);
    EXPECT_EQ(text, c.after) << c.before;
  }
}

TEST(IniKeyText, RefusesWhatWouldNotReadBack) {
  const std::string before = "[A]\nX=1\n";
  std::string text = before;
  for (const char* key : {"", "a\nb", "a\rb", "\nk", ";k", " k", "[k"})
    EXPECT_EQ(frt::SetIniKeyInText(text, "A", key, "v"), frt::kBadName) << key;
  EXPECT_EQ(frt::SetIniKeyInText(text, "A\n[B", "X", "v"), frt::kBadName);
  EXPECT_EQ(frt::SetIniKeyInText(text, "A", "X", "v\nY=2"), frt::kBadData);
  EXPECT_EQ(frt::SetIniKeyInText(text, "A", "X", std::string_view("v\0w", 3)), frt::kBadData);
  EXPECT_EQ(text, before);
}

}  // namespace
