// Random formats are written in the current variant, read back and written again: the fields must
// survive and the second file must equal the first byte for byte. (The older variant holds too
// little for that; its writer's tests pin the layout and what it leaves out or refuses.)
//
// Bytes a format can carry, and why the others are left out of the generated texts:
// - NUL never: every text is a C string.
// - Header fields, name and default strings stand raw on their line: no CR or LF. The name also
//   cannot start with white space, which the reader skips after "%N".
// - Quoted texts: 0x12 to 0x15 stand for LF, '"' and CR in the file, so they cannot appear raw;
//   CR, LF and '"' themselves are fine.
// - The comment: 0x12 and 0x15 stand for CR and LF; CR and LF only where the reader unescapes them,
//   in the first 200 bytes of the line, i.e. the first 197 bytes of the comment.
// - Unit code letters: the reader skips white space before the letter.
// Scale factors are multiples of 1/1000, which survive the 12 decimals of the file exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "library/frt_file.h"
#include "library/frt_test_file.h"

namespace {

class Gen {
 public:
  explicit Gen(std::uint32_t seed) : rng_(seed) {}

  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool Chance(int percent) { return Int(1, 100) <= percent; }

  // Lengths favour short texts but reach the capacity now and then.
  std::size_t Length(std::size_t max) {
    if (Chance(10)) return max;
    return static_cast<std::size_t>(Int(0, static_cast<int>(std::min<std::size_t>(max, 40))));
  }

  template <class Allowed>
  std::string Text(std::size_t length, Allowed allowed) {
    std::string s;
    while (s.size() < length) {
      const char c = static_cast<char>(Int(1, 255));
      if (allowed(c, s.size())) s += c;
    }
    return s;
  }

  double Scale() { return Int(-1000000, 1000000) / 1000.0; }

 private:
  std::mt19937 rng_;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}
bool NoLineEnd(char c, std::size_t) {
  return c != '\r' && c != '\n';
}
bool NameByte(char c, std::size_t at) {
  return NoLineEnd(c, at) && !(at == 0 && IsBlank(c));
}
bool QuotedByte(char c, std::size_t) {
  return c < 0x12 || c > 0x15;
}
bool CommentByte(char c, std::size_t at) {
  if (c == 0x12 || c == 0x15) return false;
  return at < 197 || NoLineEnd(c, at);
}
bool UnitLetter(char c, std::size_t at) {
  return NoLineEnd(c, at) && !IsBlank(c);
}

using frt_test::Add;

void AddApplications(Gen& g, CFrtString* s, int count) {
  for (int i = 0; i < count; ++i)
    while (s->AddApplication(static_cast<std::uint16_t>(g.Int(0, 999))) != frt::kOk) {
    }
}

CFrtVariable RandomVariable(Gen& g) {
  CFrtVariable v;
  v.unitType = static_cast<std::uint8_t>(g.Int(0, 4));
  v.dataType = static_cast<std::uint8_t>(g.Int(1, 12));
  const int kind = g.Int(0, 2);
  if (v.unitType == 0)
    v.unitCode = static_cast<std::uint8_t>(g.Int(0, 99));
  else
    v.unitCode = static_cast<std::uint8_t>(kind == 0 ? g.Int(0, 1) : 10 * v.unitType + g.Int(0, 9));
  v.options = static_cast<std::uint8_t>(g.Int(0, 9));
  v.code = static_cast<std::uint16_t>(g.Int(0, 999));
  return v;
}

// A format holding what the current variant can carry. Section 2 strings have neither variables
// nor applications (their line ends after the variables, so applications would be lost), section 3
// strings carry applications but no variables (their ';' is always written so the file opens
// again), sections 4 and 5 only text.
void FillCurrent(Gen& g, CFrtFile& f) {
  f.SetInstrument(g.Text(g.Length(8), NoLineEnd));
  f.SetVersion(g.Text(g.Length(7), NoLineEnd));
  f.SetAuthor(g.Text(g.Length(199), NoLineEnd));
  f.SetCompany(g.Text(g.Length(199), NoLineEnd));
  f.SetDate(g.Text(g.Length(199), NoLineEnd));
  f.SetComment(g.Text(g.Length(199), CommentByte));
  f.SetTemplateName(g.Text(g.Length(199), NoLineEnd));
  f.SetName(g.Text(g.Length(199), NameByte).c_str());
  for (int unitType = 1; unitType <= 4; ++unitType) {
    f.SetUnitCode({unitType, g.Text(1, UnitLetter)[0]});
    f.SetScale(unitType, g.Scale());
  }
  for (int dataType : {1, 8, 11}) f.SetDefaultString(dataType, g.Text(g.Length(199), NoLineEnd));

  static constexpr int kSections[] = {1, 1, 1, 2, 3, 4, 5, 7};
  const int count = g.Int(0, CFrtFile::kDefaultCapacity);
  for (int i = 0; i < count; ++i) {
    const int section = kSections[g.Int(0, 7)];
    // Import strings lose their applications on writing, and with them the ';' of a string
    // without variables on the next write; so imports get no applications and no section 3.
    const int direction = section != 3 && g.Chance(25) ? 2 : 1;
    const CFrtKey key{static_cast<std::uint8_t>(direction), static_cast<std::uint8_t>(section),
                      static_cast<std::uint8_t>(g.Int(0, 99)),
                      static_cast<std::uint16_t>(g.Int(0, 999))};
    int variables = 0, applications = 0;
    if (section == 1 || section == 7) {
      variables = g.Int(0, g.Chance(5) ? 100 : 6);
      applications = direction == 2 ? 0 : g.Int(0, g.Chance(5) ? 100 : 4);
    } else if (section == 3) {
      applications = g.Int(1, 5);
    }
    // The whole line must fit one 2,047-byte piece: "$" + 6 key digits + quotes + ';'.
    const std::size_t room = 2047 - 10 - 9 * variables - 3 * applications - 1;
    const bool empty = g.Chance(5);  // empty strings are left out by the writer
    CFrtString* s =
        Add(f, key,
            empty ? "" : g.Text(1 + g.Length(std::min<std::size_t>(room - 1, 1926)), QuotedByte));
    for (int v = 0; v < variables; ++v) s->AddVariable(RandomVariable(g));
    AddApplications(g, s, applications);
  }
}

std::string WriteCurrent(CFrtFile& f) {
  frt::StringOutStream out;
  EXPECT_EQ(f.WriteFrt(&out), frt::kOk);
  return out.str();
}

// Saving to a path and reading a header before the body have tests of their own.
frt::Result ReadBack(CFrtFile& original, CFrtFile& copy) {
  std::string bytes = WriteCurrent(original);
  std::FILE* in = fmemopen(bytes.data(), bytes.size(), "rb");
  if (!in) return frt::kFileNotFound;
  const frt::Result r = copy.LoadStream(in, 0, 0);
  std::fclose(in);
  return r;
}

std::vector<const CFrtString*> Present(const CFrtFile& f) {
  std::vector<const CFrtString*> out;
  for (int i = 0; i < f.StringCount(); ++i)
    if (f.StringAt(i)->IsPresent()) out.push_back(f.StringAt(i));
  return out;
}

void ExpectSameCurrent(const CFrtFile& a, const CFrtFile& b) {
  CFrtHeader ha = a.Header(), hb = b.Header();
  EXPECT_EQ(hb.type.view(), "FRT");
  ha.type = hb.type;  // the type field is not written
  EXPECT_TRUE(ha == hb);
  EXPECT_STREQ(a.Name(), b.Name());
  for (int unitType = 1; unitType <= 4; ++unitType) {
    EXPECT_EQ(a.UnitCodeOf(unitType), b.UnitCodeOf(unitType));
    EXPECT_EQ(a.Scale(unitType), b.Scale(unitType));
  }
  for (int dataType : {1, 8, 11})
    EXPECT_STREQ(a.DefaultString(dataType), b.DefaultString(dataType));
  const auto sa = Present(a), sb = Present(b);
  ASSERT_EQ(sa.size(), sb.size());
  for (std::size_t i = 0; i < sa.size(); ++i) {
    EXPECT_EQ(sa[i]->key, sb[i]->key) << i;
    EXPECT_EQ(sa[i]->TextView(), sb[i]->TextView()) << i;
    EXPECT_EQ(sa[i]->Variables(), sb[i]->Variables()) << i;
    EXPECT_EQ(sa[i]->Applications(), sb[i]->Applications()) << i;
  }
}

TEST(FrtRoundTrip, CurrentVariant) {
  Gen g(20240517);
  for (int round = 0; round < 3000; ++round) {
    CFrtFileEx original;
    FillCurrent(g, original);
    CFrtFileEx copy;
    ASSERT_EQ(ReadBack(original, copy), frt::kOk) << "round " << round;
    ExpectSameCurrent(original, copy);
    ASSERT_EQ(WriteCurrent(copy), WriteCurrent(original)) << "round " << round;
    if (HasFailure()) FAIL() << "round " << round;
  }
}

}  // namespace
