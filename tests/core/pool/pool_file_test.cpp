#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "library/faulty_file_system.h"
#include "pool/pool_test_util.h"
#include "pool/string_pool.h"
#include "temp_files.h"

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
