#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "temp_files.h"
#include "library/faulty_file_system.h"
#include "pool/pool_test_util.h"
#include "pool/string_pool.h"

namespace {

using pooltest::Entry;
using pooltest::Image;
using pooltest::Key;
using pooltest::Names;
using pooltest::Raw;
using pooltest::RawEntry;
using pooltest::U32;
using pooltest::Var;
using testfiles::FaultyFileSystem;
using testfiles::TempDir;
using Step = FaultyFileSystem::Step;

// ---- Loading files that are whole ----

TEST(PoolFileLoad, MissingFileOrCountZeroIsAnEmptyPoolAndNothingIsWrittenBack) {
  TempDir dir;
  {
    CStringPool pool(dir / "pool.dat");
    EXPECT_EQ(pool.Load(), frt::kOk);
    EXPECT_EQ(pool.EntryCount(), 0);
    EXPECT_EQ(pool.Save(), frt::kOk);
  }
  EXPECT_FALSE(testfiles::Exists(dir / "pool.dat"));
  // A count of zero is an empty pool as well.
  ASSERT_TRUE(testfiles::WriteBytes(dir / "pool.dat", U32(0)));
  CStringPool pool(dir / "pool.dat");
  EXPECT_EQ(pool.Load(), frt::kOk);
  EXPECT_EQ(pool.EntryCount(), 0);
  EXPECT_EQ(pool.IsModified(), 0);
}

TEST(PoolFileLoad, EmptyPathLoadsAndSavesNothing) {
  CStringPool pool("");
  EXPECT_EQ(pool.Load(), frt::kOk);
  pool.Add(Entry("a", Key(1, 1, 0)));
  EXPECT_EQ(pool.Save(), frt::kOk);
  EXPECT_EQ(pool.IsModified(), 1);
  EXPECT_EQ(pool.Load(), frt::kOk);
  EXPECT_EQ(pool.EntryCount(), 1);  // nothing to load from: the pool stays as it is
}

TEST(PoolFileLoad, ReadsEveryFieldAndReplacesThePoolContents) {
  TempDir dir;
  RawEntry r = Raw("Name", "%d;%s", {Var(700, 1, 9, 12, 6), Var(2, 0, 11, 0, 0)});
  r.texts[1] = "desc";
  r.texts[2] = "author";
  r.texts[3] = "date";
  r.direction = 2;
  r.section = 7;
  r.block = 99;
  r.spare = 0xEE;  // meaningless on reading
  r.number = 0xBEEF;
  ASSERT_TRUE(testfiles::WriteBytes(dir / "pool.dat", Image({r})));

  CStringPool pool(dir / "pool.dat");
  pool.Add(Entry("stale", Key(1, 1, 0)));
  ASSERT_EQ(pool.Load(), frt::kOk);
  EXPECT_EQ(pool.IsModified(), 0);
  ASSERT_EQ(Names(pool), std::vector<std::string>{"Name"});
  const CFrtStringEx& e = *pool.Entries().begin()->second;
  EXPECT_EQ(e.key, Key(2, 7, 99, 0xBEEF));
  EXPECT_EQ(e.TextView(), "%d;%s");
  EXPECT_EQ(e.Variables(), (std::vector<CFrtVariable>{Var(700, 1, 9, 12, 6), Var(2, 0, 11, 0, 0)}));
  EXPECT_EQ(e.extra[kPoolDescription].view(), "desc");
  EXPECT_EQ(e.extra[kPoolAuthor].view(), "author");
  EXPECT_EQ(e.extra[kPoolDate].view(), "date");
  EXPECT_EQ(e.extra[kPoolTemplate].view(), "Kite_Basic");
}

TEST(PoolFileLoad, LaterEntryOfTheSameNameWins) {
  TempDir dir;
  ASSERT_TRUE(testfiles::WriteBytes(
      dir / "pool.dat", Image({Raw("same", "first"), Raw("other", "x"), Raw("same", "second")})));
  CStringPool pool(dir / "pool.dat");
  ASSERT_EQ(pool.Load(), frt::kOk);
  EXPECT_EQ(pool.EntryCount(), 2);
  CFrtStringEx* e = nullptr;
  ASSERT_EQ(pool.FindByName("same", e), frt::kOk);
  EXPECT_EQ(e->TextView(), "second");
}

TEST(PoolFileLoad, TextsWithoutNulBytesAfterTheNulAndAFullTextAreSafe) {
  TempDir dir;
  // The name fills all 128 bytes: no NUL; the text has the full capacity.
  RawEntry r = Raw(std::string(128, 'N'), std::string(1927, 'x'));
  r.texts[1] = std::string("ab\0junk", 7);  // bytes after the NUL mean nothing
  ASSERT_TRUE(testfiles::WriteBytes(dir / "pool.dat", Image({r})));
  CStringPool pool(dir / "pool.dat");
  ASSERT_EQ(pool.Load(), frt::kOk);
  const CFrtStringEx& e = *pool.Entries().begin()->second;
  EXPECT_EQ(e.extra[kPoolName].view(), std::string(127, 'N'));
  EXPECT_EQ(e.extra[kPoolDescription].view(), "ab");
  EXPECT_EQ(e.extra[kPoolTemplate].view(), "Kite_Basic");
  EXPECT_EQ(e.TextView().size(), 1927u);
}

// ---- Load faults: 28, and the entries before the fault stay ----

class PoolFileFault : public ::testing::Test {
 protected:
  // Loads `bytes` as pool.dat; the result and the names kept.
  frt::Result LoadBytes(const std::string& bytes, std::vector<std::string>* names = nullptr) {
    EXPECT_TRUE(testfiles::WriteBytes(dir / "pool.dat", bytes));
    CStringPool pool(dir / "pool.dat");
    const frt::Result r = pool.Load();
    kept = Names(pool);
    if (names) *names = kept;
    return r;
  }
  TempDir dir;
  std::vector<std::string> kept;
};

TEST_F(PoolFileFault, TruncationAtEveryOffsetKeepsTheWholeEntriesBeforeIt) {
  const std::vector<RawEntry> entries{
      Raw("a", "%s %d", {Var(1, 2, 11, 0, 1), Var(2, 2, 3, 0, 1)}),
      Raw("b", ""),
      Raw("c", "%10.3f", {Var(301, 2, 9, 21, 5)}),
  };
  const std::string file = Image(entries);
  // Where each entry ends, from the layout: 4 + 640 + 4 + 6 + 4 + L + 4 + 10 V.
  std::vector<std::size_t> ends;
  std::size_t at = 4;
  for (const auto& e : entries) {
    at += 4 + 640 + 4 + 6 + 4 + e.text.size() + 4 + 10 * e.variables.size();
    ends.push_back(at);
  }
  ASSERT_EQ(ends.back(), file.size());

  for (std::size_t cut = 0; cut <= file.size(); ++cut) {
    const frt::Result r = LoadBytes(file.substr(0, cut));
    std::size_t whole = 0;
    while (whole < ends.size() && ends[whole] <= cut) ++whole;
    EXPECT_EQ(r, cut == file.size() ? frt::kOk : frt::kLoadError) << "cut at " << cut;
    ASSERT_EQ(kept.size(), whole) << "cut at " << cut;
    for (std::size_t i = 0; i < whole; ++i) EXPECT_EQ(kept[i], entries[i].texts[0]);
  }
}

// Every field of the second entry that can be wrong; the first, whole entry stays.
TEST_F(PoolFileFault, WrongLengthsAndCountsKeepTheEntriesBefore) {
  struct Case {
    const char* what;
    void (*spoil)(RawEntry&);
  };
  const Case cases[] = {
      {"texts length 0", [](RawEntry& r) { r.textsLength = 0; }},
      {"texts length 639", [](RawEntry& r) { r.textsLength = 639; }},
      {"texts length 641", [](RawEntry& r) { r.textsLength = 641; }},
      {"texts length max", [](RawEntry& r) { r.textsLength = 0xFFFFFFFFu; }},
      {"key length 0", [](RawEntry& r) { r.keyLength = 0; }},
      {"key length 5", [](RawEntry& r) { r.keyLength = 5; }},
      {"key length 7", [](RawEntry& r) { r.keyLength = 7; }},
      {"key length 640", [](RawEntry& r) { r.keyLength = 640; }},
      {"variable length 0", [](RawEntry& r) { r.variableLength = 0; }},
      {"variable length 5", [](RawEntry& r) { r.variableLength = 5; }},
      {"variable length 7", [](RawEntry& r) { r.variableLength = 7; }},
      {"variable length 10", [](RawEntry& r) { r.variableLength = 10; }},
      // The bytes are all there: only the length itself is wrong.
      {"text over capacity", [](RawEntry& r) { r.text = std::string(1928, 'x'); }},
      {"text length max", [](RawEntry& r) { r.textLength = 0xFFFFFFFFu; }},
      {"variable count huge", [](RawEntry& r) { r.variableCount = 4000000000LL; }},
  };
  for (const Case& c : cases) {
    RawEntry bad = Raw("bad", "x", {Var(1, 2, 3, 4, 5)});
    c.spoil(bad);
    EXPECT_EQ(LoadBytes(Image({Raw("good", "g"), bad})), frt::kLoadError) << c.what;
    EXPECT_EQ(kept, std::vector<std::string>{"good"}) << c.what;
  }
  // An entry count past the end of the file.
  EXPECT_EQ(LoadBytes(Image({Raw("one", "1")}, 4000000000LL)), frt::kLoadError);
  EXPECT_EQ(kept, std::vector<std::string>{"one"});
  EXPECT_EQ(LoadBytes(U32(0xFFFFFFFFu)), frt::kLoadError);
  EXPECT_TRUE(kept.empty());
}

TEST_F(PoolFileFault, ReadFailureOfTheFileSystem) {
  ASSERT_TRUE(testfiles::WriteBytes(dir / "pool.dat", Image({Raw("a", "x")})));
  FaultyFileSystem fs;
  fs.FailAt(Step::kRead);
  CStringPool pool(dir / "pool.dat", &fs);
  EXPECT_EQ(pool.Load(), frt::kLoadError);
  EXPECT_EQ(pool.EntryCount(), 0);
}

// ---- Saving ----

TEST(PoolFileSave, WritesTheLayoutByteForByteInNameOrder) {
  TempDir dir;
  const std::string path = dir / "pool.dat";
  {
    CStringPool pool(path);
    auto z = Entry("zeta", Key(2, 4, 0, 0x1234), "T1", "", {});
    auto g = Entry("\xB8\xDF", Key(1, 7, 42, 7), "T2", "\xD6\xD0%s",
                   {Var(11, 0, 11, 0, 0), Var(0x0203, 2, 9, 21, 0xFF)});
    auto a = Entry("Alpha", Key(1, 1, 3, 999), "T1", "%d", {Var(1, 2, 3, 0, 1)});
    g->extra[kPoolDescription] = "d";
    g->extra[kPoolAuthor] = "Quarvel";
    g->extra[kPoolDate] = "Monday, January 05, 2015";
    pool.Add(std::move(z));
    pool.Add(std::move(g));
    pool.Add(std::move(a));
    ASSERT_EQ(pool.Save(), frt::kOk);
    EXPECT_EQ(pool.IsModified(), 0);
  }

  auto texts = [](std::vector<std::string> t) {
    std::string block;
    for (auto& s : t) block += s + std::string(128 - s.size(), '\0');
    return block;
  };
  std::string want = U32(3);
  // "Alpha" < "zeta" < "\xB8\xDF" bytewise.
  want += U32(640) + texts({"Alpha", "", "", "", "T1"});
  want += U32(6) + std::string("\x01\x01\x03\x00\xE7\x03", 6);
  want += U32(2) + "%d";
  want += U32(1) + U32(6) + std::string("\x01\x00\x02\x03\x00\x01", 6);

  want += U32(640) + texts({"zeta", "", "", "", "T1"});
  want += U32(6) + std::string("\x02\x04\x00\x00\x34\x12", 6);
  want += U32(0);
  want += U32(0);

  want += U32(640) + texts({"\xB8\xDF", "d", "Quarvel", "Monday, January 05, 2015", "T2"});
  want += U32(6) + std::string("\x01\x07\x2A\x00\x07\x00", 6);
  want += U32(4) + "\xD6\xD0%s";
  want += U32(2);
  want += U32(6) + std::string("\x0B\x00\x00\x0B\x00\x00", 6);
  want += U32(6) + std::string("\x03\x02\x02\x09\x15\xFF", 6);

  EXPECT_EQ(testfiles::ReadBytes(path), want);
}

TEST(PoolFileSave, UnmodifiedPoolWritesNothing) {
  TempDir dir;
  const std::string path = dir / "pool.dat";
  // Trailing bytes that a save would drop show whether anything was written.
  const std::string bytes = Image({Raw("a", "x")}) + "trailing";
  ASSERT_TRUE(testfiles::WriteBytes(path, bytes));
  {
    CStringPool pool(path);
    ASSERT_EQ(pool.Load(), frt::kOk);
    EXPECT_EQ(pool.Save(), frt::kOk);
  }
  EXPECT_EQ(testfiles::ReadBytes(path), bytes);
  {
    CStringPool pool(path);
    ASSERT_EQ(pool.Load(), frt::kOk);
    pool.MarkModified();
    ASSERT_EQ(pool.Save(), frt::kOk);
  }
  EXPECT_EQ(testfiles::ReadBytes(path), Image({Raw("a", "x")}));
}

TEST(PoolFileSave, DestructionSavesAModifiedPool) {
  TempDir dir;
  const std::string path = dir / "pool.dat";
  {
    CStringPool pool(path);
    pool.Add(Entry("kept", Key(1, 1, 0)));
  }
  CStringPool again(path);
  ASSERT_EQ(again.Load(), frt::kOk);
  EXPECT_EQ(Names(again), std::vector<std::string>{"kept"});
}

TEST(PoolFileSave, RemovedEntriesAreGoneFromTheFile) {
  TempDir dir;
  const std::string path = dir / "pool.dat";
  CStringPool pool(path);
  pool.Add(Entry("a", Key(1, 1, 0)));
  pool.Add(Entry("b", Key(1, 1, 0)));
  ASSERT_EQ(pool.Save(), frt::kOk);
  ASSERT_EQ(pool.Remove("a"), frt::kOk);
  ASSERT_EQ(pool.Save(), frt::kOk);
  CStringPool again(path);
  ASSERT_EQ(again.Load(), frt::kOk);
  EXPECT_EQ(Names(again), std::vector<std::string>{"b"});
}

// ---- Round trip of random pools ----

std::string RandomBytes(std::mt19937& rng, std::size_t maxLength) {
  std::uniform_int_distribution<std::size_t> len(0, maxLength);
  std::uniform_int_distribution<int> byte(1, 255);  // anything but NUL
  std::string s(len(rng), '\0');
  for (char& c : s) c = static_cast<char>(byte(rng));
  return s;
}

void FillRandomPool(CStringPool& pool, std::mt19937& rng, int entries) {
  std::uniform_int_distribution<int> u8(0, 255), u16(0, 65535), vars(0, 12);
  for (int i = 0; i < entries; ++i) {
    auto e = std::make_unique<CFrtStringEx>();
    e->key = Key(u8(rng), u8(rng), u8(rng), u16(rng));
    e->SetText(RandomBytes(rng, 1927));
    for (int v = vars(rng); v > 0; --v)
      e->AddVariable(Var(u16(rng), u8(rng), u8(rng), u8(rng), u8(rng)));
    for (auto& t : e->extra) t = RandomBytes(rng, 127);
    pool.Add(std::move(e));
  }
}

void ExpectSameEntries(const CStringPool& a, const CStringPool& b) {
  ASSERT_EQ(a.EntryCount(), b.EntryCount());
  auto ib = b.Entries().begin();
  for (const auto& [name, ea] : a.Entries()) {
    const CFrtStringEx& eb = *ib->second;
    EXPECT_EQ(name, ib->first);
    EXPECT_EQ(ea->key, eb.key);
    EXPECT_EQ(ea->TextView(), eb.TextView());
    EXPECT_EQ(ea->Variables(), eb.Variables());
    for (int t = 0; t < 5; ++t) EXPECT_EQ(ea->extra[t], eb.extra[t]) << name << " text " << t;
    ++ib;
  }
}

TEST(PoolFileRoundTrip, RandomPoolsComeBackUnchanged) {
  TempDir dir;
  std::mt19937 rng(20240611);
  for (int round = 0; round < 25; ++round) {
    const std::string path = dir / ("pool" + std::to_string(round) + ".dat");
    CStringPool original(path);
    FillRandomPool(original, rng, round % 5 == 0 ? 0 : round * 2);
    original.MarkModified();  // also an empty pool gets its file
    ASSERT_EQ(original.Save(), frt::kOk);
    const std::string bytes = testfiles::ReadBytes(path);

    CStringPool loaded(path);
    ASSERT_EQ(loaded.Load(), frt::kOk) << "round " << round;
    ExpectSameEntries(original, loaded);

    // Saving what was loaded gives the same bytes.
    loaded.MarkModified();
    ASSERT_EQ(loaded.Save(), frt::kOk);
    EXPECT_EQ(testfiles::ReadBytes(path), bytes) << "round " << round;
  }
}

// ---- Save faults: the previous file stays, the pool stays modified ----

class PoolFileSaveFault : public ::testing::Test {
 protected:
  void SetUp() override {
    std::mt19937 rng(7);
    CStringPool old(path);
    FillRandomPool(old, rng, 3);
    ASSERT_EQ(old.Save(), frt::kOk);
    previous = testfiles::ReadBytes(path);
  }
  // A pool big enough to need several writes of the safe writer's buffer.
  void FillLarge(CStringPool& pool) {
    for (int i = 0; i < 80; ++i) {
      pool.Add(Entry("entry" + std::to_string(i), Key(1, 1, i % 100), "Kite_Basic",
                     std::string(1900, static_cast<char>('a' + i % 26)), {Var(i, 2, 9, 21, 1)}));
    }
  }
  void ExpectFailedSave(FaultyFileSystem& fs, const std::string& what) {
    CStringPool pool(path, &fs);
    FillLarge(pool);
    EXPECT_EQ(pool.Save(), frt::kCannotSave) << what;
    EXPECT_EQ(pool.IsModified(), 1) << what;
    EXPECT_EQ(testfiles::ReadBytes(path), previous) << what;
    EXPECT_EQ(testfiles::List(dir.path()), std::vector<std::string>{"pool.dat"}) << what;
    // The destructor's save would fail the same way; let it find nothing to do.
    fs.FailAt(Step::kNone);
    EXPECT_EQ(pool.Save(), frt::kOk) << what;
    EXPECT_EQ(pool.IsModified(), 0);
    EXPECT_NE(testfiles::ReadBytes(path), previous) << what;
    ASSERT_TRUE(testfiles::WriteBytes(path, previous));
  }

  TempDir dir;
  std::string path = dir / "pool.dat";
  std::string previous;
};

TEST_F(PoolFileSaveFault, EveryWriteFailurePosition) {
  int writes = 0;
  {
    FaultyFileSystem counting;
    CStringPool pool(path, &counting);
    FillLarge(pool);
    ASSERT_EQ(pool.Save(), frt::kOk);
    writes = counting.writes;
    ASSERT_TRUE(testfiles::WriteBytes(path, previous));
  }
  ASSERT_GE(writes, 2);
  for (int n = 1; n <= writes; ++n) {
    FaultyFileSystem fs;
    fs.FailAt(Step::kWrite, n);
    ExpectFailedSave(fs, "write " + std::to_string(n));
  }
}

}  // namespace
