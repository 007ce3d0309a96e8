#pragma once
// The lines of a data file as the workbench holds them: the bytes in chunks of whole lines, read
// by a thread of their own so that a large file shows its first lines at once.
#include <QObject>
#include <QString>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// Whole lines of a file: `starts[i]` is where line i begins in `bytes`, and a last entry marks
// the end of the last line's bytes (its line end included).
struct CWbLineChunk {
  std::string bytes;
  std::vector<std::uint32_t> starts;
  std::size_t Count() const { return starts.empty() ? 0 : starts.size() - 1; }
};

// The lines read so far, addressed by row (from 0). A line's text leaves its LF or CR LF out.
class CWbLines {
 public:
  std::size_t Count() const { return count_; }
  std::string_view Line(std::size_t row) const;
  void Append(std::shared_ptr<const CWbLineChunk> chunk);
  void Clear();
  // Splits `bytes` into chunks of whole lines (a last line without a line end counts), as the
  // loader does; for text that is already in memory.
  static std::vector<std::shared_ptr<const CWbLineChunk>> Split(std::string_view bytes,
                                                                std::size_t chunkBytes);

 private:
  std::vector<std::shared_ptr<const CWbLineChunk>> chunks_;
  std::vector<std::size_t> firstRow_;  // the row of each chunk's first line
  std::size_t count_ = 0;
};

// Reads a file on a thread and hands its lines over in chunks (the first ones small, so the
// first screen comes at once). Signals arrive on the thread that owns the loader.
class CWbLoader : public QObject {
  Q_OBJECT
 public:
  explicit CWbLoader(QObject* parent = nullptr);
  ~CWbLoader() override;

  // Starts reading `path`, cancelling a load still running; its chunks that were not yet
  // handed over are dropped.
  void Start(const QString& path);
  // Stops the thread; the lines handed over so far stay.
  void Cancel();
  bool IsRunning() const { return running_; }

 signals:
  void chunkRead(std::shared_ptr<const CWbLineChunk> chunk);
  // Per mille of the file's bytes read.
  void progress(int perMille);
  // The whole file was read (`error` empty), it could not be read, or the load was cancelled.
  void finished(bool cancelled, const QString& error);

 private:
  void Stop();
  void Run(const std::string& path, std::uint64_t generation);

  std::thread thread_;
  std::atomic<bool> cancel_{false};
  std::uint64_t generation_ = 0;  // chunks of an earlier load are dropped by their number
  bool running_ = false;
};
