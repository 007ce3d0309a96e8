#include "workbench/wb_lines.h"

#include <QFile>
#include <QMetaObject>
#include <algorithm>
#include <cstdio>

namespace {

// The first chunk is small so the first screen shows before the rest is split; then larger ones
// keep the hand-overs few.
constexpr std::size_t kFirstChunkBytes = 64 * 1024;
constexpr std::size_t kChunkBytes = 4 * 1024 * 1024;

// The whole lines at the start of `bytes` (all of it when `atEnd`); returns the bytes used.
std::size_t IndexLines(std::string_view bytes, bool atEnd, std::vector<std::uint32_t>& starts) {
  std::size_t begin = 0;
  starts.push_back(0);
  while (begin < bytes.size()) {
    const std::size_t lf = bytes.find('\n', begin);
    if (lf == std::string_view::npos) {
      if (!atEnd) break;
      begin = bytes.size();
    } else {
      begin = lf + 1;
    }
    starts.push_back(static_cast<std::uint32_t>(begin));
  }
  return begin;
}

std::shared_ptr<CWbLineChunk> MakeChunk(std::string_view bytes, bool atEnd, std::size_t& used) {
  auto chunk = std::make_shared<CWbLineChunk>();
  used = IndexLines(bytes, atEnd, chunk->starts);
  chunk->bytes.assign(bytes.substr(0, used));
  return chunk;
}

}  // namespace

std::string_view CWbLines::Line(std::size_t row) const {
  if (row >= count_) return {};
  const auto it = std::upper_bound(firstRow_.begin(), firstRow_.end(), row) - 1;
  const CWbLineChunk& chunk = *chunks_[static_cast<std::size_t>(it - firstRow_.begin())];
  const std::size_t i = row - *it;
  std::string_view line(chunk.bytes.data() + chunk.starts[i],
                        chunk.starts[i + 1] - chunk.starts[i]);
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

void CWbLines::Append(std::shared_ptr<const CWbLineChunk> chunk) {
  if (!chunk || chunk->Count() == 0) return;
  firstRow_.push_back(count_);
  count_ += chunk->Count();
  chunks_.push_back(std::move(chunk));
}

void CWbLines::Clear() {
  chunks_.clear();
  firstRow_.clear();
  count_ = 0;
}

std::vector<std::shared_ptr<const CWbLineChunk>> CWbLines::Split(std::string_view bytes,
                                                                 std::size_t chunkBytes) {
  std::vector<std::shared_ptr<const CWbLineChunk>> out;
  while (!bytes.empty()) {
    const std::size_t take = std::min(bytes.size(), std::max<std::size_t>(chunkBytes, 1));
    std::size_t used = 0;
    auto chunk = MakeChunk(bytes.substr(0, take), take == bytes.size(), used);
    if (used == 0) {  // one line longer than a chunk: take it whole
      const std::size_t lf = bytes.find('\n');
      chunk = MakeChunk(bytes.substr(0, lf == std::string_view::npos ? bytes.size() : lf + 1),
                        lf == std::string_view::npos, used);
    }
    out.push_back(std::move(chunk));
    bytes.remove_prefix(used);
  }
  return out;
}

CWbLoader::CWbLoader(QObject* parent) : QObject(parent) {}

CWbLoader::~CWbLoader() {
  Stop();
}

void CWbLoader::Stop() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
  cancel_ = false;
}

void CWbLoader::Start(const QString& path) {
  Stop();
  running_ = true;
  const std::uint64_t generation = ++generation_;
  thread_ = std::thread(&CWbLoader::Run, this, QFile::encodeName(path).toStdString(), generation);
}

void CWbLoader::Cancel() {
  if (!running_) return;
  Stop();
  running_ = false;
  ++generation_;
  emit finished(true, QString());
}

// On the loader's thread: everything it hands over goes through queued calls that check the
// load's number on arrival, so a cancelled load leaves nothing behind.
void CWbLoader::Run(const std::string& path, std::uint64_t generation) {
  auto post = [this, generation](auto&& action) {
    QMetaObject::invokeMethod(
        this,
        [this, generation, action] {
          if (generation == generation_) action();
        },
        Qt::QueuedConnection);
  };
  auto fail = [&](const QString& error) {
    post([this, error] {
      running_ = false;
      emit finished(false, error);
    });
  };
  QFile file(QFile::decodeName(path.c_str()));
  if (!file.open(QIODevice::ReadOnly)) return fail(file.errorString());
  const qint64 size = std::max<qint64>(file.size(), 1);
  std::string pending;
  std::size_t want = kFirstChunkBytes;
  qint64 done = 0;
  int lastPerMille = -1;
  while (!cancel_) {
    const std::size_t old = pending.size();
    pending.resize(old + want);
    const qint64 got = file.read(pending.data() + old, static_cast<qint64>(want));
    if (got < 0) return fail(file.errorString());
    pending.resize(old + static_cast<std::size_t>(got));
    done += got;
    const bool atEnd = got == 0 || file.atEnd();
    std::size_t used = 0;
    std::shared_ptr<const CWbLineChunk> chunk = MakeChunk(pending, atEnd, used);
    pending.erase(0, used);
    if (chunk->Count() > 0) post([this, chunk] { emit chunkRead(chunk); });
    const int perMille = static_cast<int>(std::min<qint64>(1000, done * 1000 / size));
    if (perMille != lastPerMille) {
      lastPerMille = perMille;
      post([this, perMille] { emit progress(perMille); });
    }
    if (atEnd) break;
    want = kChunkBytes;
  }
  if (cancel_) return;
  post([this] {
    running_ = false;
    emit finished(false, QString());
  });
}
