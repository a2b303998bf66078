#include "engine/data_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <ucl/ucl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/cp1252.h"
#include "engine/user_list_encoding.h"

namespace tavro2 {
namespace {

// Output reserved for a block is min(TextSize, this many times the block's
// compressed size): TextSize alone is untrusted, and dictionary text rarely
// compresses better than 1:8. A block that does still decodes correctly,
// only with a reallocation or two.
constexpr std::size_t kReserveRatio = 32;

// Threads that decode the chunks of one block at once, the caller included.
constexpr unsigned kMaxDecodeThreads = 8;

std::uint32_t getU32(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return std::uint32_t{u[0]} | std::uint32_t{u[1]} << 8 | std::uint32_t{u[2]} << 16 |
         std::uint32_t{u[3]} << 24;
}

double getF64(const char* p) {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | static_cast<unsigned char>(p[i]);
  double d;
  static_assert(sizeof d == sizeof bits);
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

bool initUcl() {
  static const bool ok = ucl_init() == UCL_E_OK;
  return ok;
}

// An open regular file, closed on scope exit.
class File {
 public:
  // Opens path read-only; fails for anything but a regular file. O_NONBLOCK
  // keeps a FIFO of that name from blocking the open.
  explicit File(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) return;
    struct stat st;
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(fd_);
      fd_ = -1;
      return;
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
  }
  ~File() {
    if (fd_ >= 0) ::close(fd_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool ok() const { return fd_ >= 0; }
  std::uint64_t size() const { return size_; }

  // Reads up to n bytes at offset into dst; returns how many were read (fewer
  // at the end of the file or on an error).
  std::size_t readAt(char* dst, std::size_t n, std::uint64_t offset) const {
    std::size_t done = 0;
    while (done < n) {
      const ssize_t r = ::pread(fd_, dst + done, n - done, static_cast<off_t>(offset + done));
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) break;
      done += static_cast<std::size_t>(r);
    }
    return done;
  }

 private:
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

// Drops a damaged text's last line when the damage cut it short: the text
// then ends just after its last CR (and the LF that follows it, if any).
void keepWholeLines(std::string& text) {
  const std::size_t cr = text.rfind('\r');
  if (cr == std::string::npos) {
    text.clear();
  } else {
    text.resize(cr + 1 < text.size() && text[cr + 1] == '\n' ? cr + 2 : cr + 1);
  }
}

struct Trailer {
  std::uint32_t firstBlockSize;
  std::uint32_t secondBlockSize;
  double dataDate;
};

Trailer parseTrailer(const char* p) { return {getU32(p), getU32(p + 4), getF64(p + 8)}; }

// Where a block's bytes come from. bytes(offset, n) gives n bytes of the
// block at offset (offset + n <= size(), which the decoder checks first),
// valid until the next call, or null when they cannot be read.
class MemoryBlock {
 public:
  explicit MemoryBlock(std::string_view bytes) : bytes_(bytes) {}
  std::size_t size() const { return bytes_.size(); }
  const unsigned char* bytes(std::size_t offset, std::size_t) {
    return reinterpret_cast<const unsigned char*>(bytes_.data() + offset);
  }
  MemoryBlock forWorker() const { return *this; }

 private:
  std::string_view bytes_;
};

// A block read from the file a chunk at a time into one reused buffer, so a
// load never holds the compressed file in memory besides its text.
class FileBlock {
 public:
  FileBlock(const File& file, std::uint64_t start, std::size_t size)
      : file_(file), start_(start), size_(size) {}
  std::size_t size() const { return size_; }
  const unsigned char* bytes(std::size_t offset, std::size_t n) {
    // No memory for the buffer reads as unreadable bytes: this may run on a
    // decoding thread, which must not throw.
    if (!buffer_) buffer_.reset(new (std::nothrow) char[kMaxChunkSize]);
    if (!buffer_) return nullptr;
    if (n > kMaxChunkSize || file_.readAt(buffer_.get(), n, start_ + offset) != n) return nullptr;
    return reinterpret_cast<const unsigned char*>(buffer_.get());
  }
  // Another reader of the same block with a buffer of its own.
  FileBlock forWorker() const { return FileBlock(file_, start_, size_); }

 private:
  const File& file_;
  std::uint64_t start_;
  std::size_t size_;
  std::unique_ptr<char[]> buffer_;
};

struct Decoded {
  BlockText block;
  bool shortOfTextSize = false;  // fewer bytes than TextSize (or no TextSize at all)
};

// The fast road for a block as the writer makes it: every chunk but the last
// decodes to exactly kPieceSize bytes and the last to the rest of TextSize,
// so each chunk's place in the text is known before decoding and the chunks
// are decoded on several threads, each straight into its place. Anything
// else (odd chunk sizes, damage, a TextSize the block cannot vouch for)
// returns false with the text emptied, and the caller decodes the block
// chunk by chunk, which alone decides what a damaged block keeps.
template <typename Block>
bool decodeInParallel(Block& block, std::uint32_t textSize, std::string& text,
                      const std::atomic<bool>* cancel, bool& cancelled) {
  const unsigned threads = std::min(std::thread::hardware_concurrency(), kMaxDecodeThreads);
  const std::size_t chunks = (std::size_t{textSize} + kPieceSize - 1) / kPieceSize;
  if (threads < 2 || chunks < 3 || textSize > kMaxBlockText ||
      textSize > std::uint64_t{block.size()} * kReserveRatio)
    return false;

  struct Chunk {
    std::size_t offset;
    std::uint32_t size;
  };
  std::vector<Chunk> where;
  where.reserve(chunks);
  std::size_t pos = 4;
  for (std::size_t i = 0; i < chunks; ++i) {
    const unsigned char* sizeBytes = block.size() - pos >= 4 ? block.bytes(pos, 4) : nullptr;
    if (!sizeBytes) return false;
    const std::uint32_t size = getU32(reinterpret_cast<const char*>(sizeBytes));
    if (size > kMaxChunkSize || size > block.size() - pos - 4) return false;
    where.push_back({pos + 4, size});
    pos += 4 + size;
  }

  // The text is reserved whole (the limits above bound it) but grows a batch
  // of chunks at a time, so its pages are touched only as far as chunks have
  // decoded: a block whose TextSize lies fails within its first batch.
  text.reserve(textSize);
  const std::size_t batch = std::max<std::size_t>(std::size_t{threads} * 4, 16);
  std::atomic<std::size_t> next{0};
  std::size_t batchEnd = 0;
  std::atomic<bool> failed{false};
  std::atomic<bool> stopped{false};
  auto work = [&](Block reader) {
    for (std::size_t i; (i = next.fetch_add(1, std::memory_order_relaxed)) < batchEnd;) {
      if (failed.load(std::memory_order_relaxed)) return;
      if (cancel && cancel->load(std::memory_order_relaxed)) {
        stopped.store(true, std::memory_order_relaxed);
        return;
      }
      const std::size_t at = i * kPieceSize;
      const std::size_t room = std::min<std::size_t>(kPieceSize, textSize - at);
      const unsigned char* src = reader.bytes(where[i].offset, where[i].size);
      ucl_uint produced = static_cast<ucl_uint>(room);
      if (!src || ucl_nrv2e_decompress_safe_8(src, where[i].size,
                                              reinterpret_cast<unsigned char*>(text.data() + at),
                                              &produced, nullptr) != UCL_E_OK ||
          produced != room) {
        failed.store(true, std::memory_order_relaxed);
        return;
      }
    }
  };
  for (std::size_t first = 0; first < chunks && !failed.load() && !stopped.load();
       first = batchEnd) {
    batchEnd = std::min(chunks, first + batch);
    text.resize(std::min<std::size_t>(textSize, batchEnd * kPieceSize));
    next.store(first);
    std::vector<std::thread> helpers;
    helpers.reserve(threads);  // so adding a running thread never needs memory
    for (unsigned t = 1; t < threads && t < batchEnd - first; ++t) {
      try {
        helpers.emplace_back(work, block.forWorker());
      } catch (const std::exception&) {
        break;  // no more threads to be had: the others share the work
      }
    }
    work(block.forWorker());
    for (std::thread& h : helpers) h.join();
  }

  if (stopped.load() && !failed.load()) {
    cancelled = true;
    return true;
  }
  if (failed.load() || stopped.load()) {
    text.clear();
    return false;
  }
  return true;
}

template <typename Block>
Decoded decodeBlock(Block&& block, const std::atomic<bool>* cancel) {
  Decoded out;
  BlockText& result = out.block;
  const unsigned char* head = block.size() >= 4 ? block.bytes(0, 4) : nullptr;
  if (!head || !initUcl()) {
    result.damaged = true;  // not even a TextSize
    out.shortOfTextSize = true;
    return out;
  }
  const std::uint32_t textSize = getU32(reinterpret_cast<const char*>(head));
  std::string& text = result.text;
  if (decodeInParallel(block, textSize, text, cancel, result.cancelled)) return out;
  // Chunks decode straight into the text while it has a whole chunk's room
  // to spare; the last one or two go through `scratch` and are appended, so
  // an honest block ends with a buffer of exactly TextSize bytes.
  // Room for one chunk past the limit, so the chunk that passes it never
  // makes the buffer move (the old and new buffers together would double
  // what a hostile block costs).
  text.reserve(std::min<std::uint64_t>(
      {textSize, std::uint64_t{block.size()} * kReserveRatio, kMaxBlockText + kMaxChunkSize}));
  std::unique_ptr<unsigned char[]> scratch;

  std::size_t pos = 4;
  while (text.size() < textSize) {
    if (cancel && cancel->load(std::memory_order_relaxed)) {
      result.cancelled = true;
      break;
    }
    if (text.size() > kMaxBlockText) break;  // too large: handled below
    if (text.capacity() - text.size() < kMaxChunkSize && text.capacity() < kMaxBlockText) {
      // Grown by hand so the buffer never passes the limit by more than a
      // chunk, as doubling would.
      text.reserve(std::min(std::max(text.capacity() * 2, text.size() + kMaxChunkSize),
                            kMaxBlockText + kMaxChunkSize));
    }
    if (block.size() - pos < 4) break;  // out of chunks: the text is shorter than TextSize
    const unsigned char* sizeBytes = block.bytes(pos, 4);
    if (!sizeBytes) {
      result.damaged = true;
      break;
    }
    const std::uint32_t chunkSize = getU32(reinterpret_cast<const char*>(sizeBytes));
    pos += 4;
    const unsigned char* src = chunkSize <= kMaxChunkSize && chunkSize <= block.size() - pos
                                   ? block.bytes(pos, chunkSize)
                                   : nullptr;
    if (!src) {
      result.damaged = true;
      break;
    }
    const std::size_t have = text.size();
    ucl_uint produced = kMaxChunkSize;
    int r;
    if (text.capacity() - have >= kMaxChunkSize) {
      text.resize(have + kMaxChunkSize);
      r = ucl_nrv2e_decompress_safe_8(src, chunkSize,
                                      reinterpret_cast<unsigned char*>(text.data() + have),
                                      &produced, nullptr);
      text.resize(r == UCL_E_OK && produced <= kMaxChunkSize ? have + produced : have);
    } else {
      if (!scratch) scratch.reset(new unsigned char[kMaxChunkSize]);
      r = ucl_nrv2e_decompress_safe_8(src, chunkSize, scratch.get(), &produced, nullptr);
      if (r == UCL_E_OK && produced <= kMaxChunkSize)
        text.append(reinterpret_cast<const char*>(scratch.get()), produced);
    }
    if (r != UCL_E_OK || produced > kMaxChunkSize) {
      result.damaged = true;
      break;
    }
    pos += chunkSize;
  }
  out.shortOfTextSize = text.size() < textSize;
  if (text.size() > textSize) text.resize(textSize);
  if (text.size() > kMaxBlockText) {
    std::string().swap(text);
    result.damaged = result.tooLarge = true;
    return out;
  }
  // A reservation the chunks did not fill (a TextSize that lied, or damage)
  // is given back.
  if (text.capacity() - text.size() > text.size() / 16 + 4096) text.shrink_to_fit();
  return out;
}

// Decodes both blocks of a file whose bytes before the trailer number
// `bodySize`; makeBlock(start, size) gives a block's source.
template <typename MakeBlock>
DataFileContents decodeBody(std::uint64_t bodySize, const Trailer& t, MakeBlock&& makeBlock,
                            const std::atomic<bool>* cancel) {
  DataFileContents out;
  out.dataDate = t.dataDate;
  // Blocks are clipped to the bytes before the trailer; reaching past them
  // is damage, but what lies inside is still decoded.
  const std::uint64_t firstEnd = std::min<std::uint64_t>(t.firstBlockSize, bodySize);
  const std::uint64_t secondEnd =
      std::min<std::uint64_t>(std::uint64_t{t.firstBlockSize} + t.secondBlockSize, bodySize);
  const bool firstClipped = firstEnd < t.firstBlockSize;
  const bool secondClipped = std::uint64_t{t.firstBlockSize} + t.secondBlockSize > bodySize;

  Decoded first = decodeBlock(makeBlock(0, firstEnd), cancel);
  if (first.block.cancelled) {
    out.outcome = DataOutcome::kCancelled;
    return out;
  }
  Decoded second = decodeBlock(makeBlock(firstEnd, secondEnd - firstEnd), cancel);
  if (second.block.cancelled) {
    out.outcome = DataOutcome::kCancelled;
    return out;
  }
  // A clipped block may still have decoded to its full TextSize; its text is
  // then whole, but the file is damaged all the same. One that fell short of
  // it lost its end to the clipping.
  if (first.block.damaged || (firstClipped && first.shortOfTextSize))
    keepWholeLines(first.block.text);
  if (second.block.damaged || (secondClipped && second.shortOfTextSize))
    keepWholeLines(second.block.text);
  const bool damaged =
      firstClipped || secondClipped || first.block.damaged || second.block.damaged;
  out.outcome = damaged ? DataOutcome::kDamaged : DataOutcome::kLoaded;
  // Only a text of more bytes than the line limit can pass it, so a normal
  // dictionary is never counted here (the line table counts it once more).
  const auto tooManyLines = [](const std::string& text) {
    return text.size() > kMaxBlockLines && countLineEnds(text) > kMaxBlockLines;
  };
  if (first.block.tooLarge || second.block.tooLarge || tooManyLines(first.block.text) ||
      tooManyLines(second.block.text)) {
    out.outcome = DataOutcome::kDamaged;  // no text at all: see the size limits
    return out;
  }
  out.headwords = std::move(first.block.text);
  out.translations = std::move(second.block.text);
  return out;
}

// A reader's answer when memory ran out part way: damaged, with no text.
DataFileContents outOfMemory() {
  DataFileContents out;
  out.outcome = DataOutcome::kDamaged;
  return out;
}

}  // namespace

BlockText decompressBlock(std::string_view block, const std::atomic<bool>* cancel) {
  try {
    return decodeBlock(MemoryBlock(block), cancel).block;
  } catch (const std::bad_alloc&) {
    BlockText out;
    out.damaged = out.tooLarge = true;
    return out;
  }
}

DataFileContents parseDataFile(std::string_view image, const std::atomic<bool>* cancel) try {
  if (image.size() < kTrailerSize) {
    DataFileContents out;
    out.outcome = DataOutcome::kDamaged;
    return out;
  }
  const Trailer t = parseTrailer(image.data() + image.size() - kTrailerSize);
  const std::string_view body = image.substr(0, image.size() - kTrailerSize);
  return decodeBody(
      body.size(), t,
      [body](std::uint64_t start, std::uint64_t size) {
        return MemoryBlock(body.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(size)));
      },
      cancel);
} catch (const std::bad_alloc&) {
  return outOfMemory();
}

DataFileContents readDataFile(const std::string& path, const std::atomic<bool>* cancel) try {
  DataFileContents out;
  const File file(resolvePath(path));
  if (!file.ok()) return out;  // kMissing
  out.outcome = DataOutcome::kDamaged;
  if (file.size() < kTrailerSize) return out;
  char trailerBytes[kTrailerSize];
  if (file.readAt(trailerBytes, kTrailerSize, file.size() - kTrailerSize) != kTrailerSize)
    return out;
  // The blocks are read chunk by chunk, only ever inside the bytes before
  // the trailer; a file that shrinks meanwhile reads as damaged.
  return decodeBody(
      file.size() - kTrailerSize, parseTrailer(trailerBytes),
      [&file](std::uint64_t start, std::uint64_t size) {
        return FileBlock(file, start, static_cast<std::size_t>(size));
      },
      cancel);
} catch (const std::bad_alloc&) {
  return outOfMemory();
}

std::optional<double> readDataDate(const std::string& path) {
  const File file(resolvePath(path));
  if (!file.ok() || file.size() < 8) return std::nullopt;
  char bytes[8];
  if (file.readAt(bytes, 8, file.size() - 8) != 8) return std::nullopt;
  return getF64(bytes);
}

std::string resolvePath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  const std::string_view name =
      slash == std::string::npos ? std::string_view(path) : std::string_view(path).substr(slash + 1);
  if (name.empty()) return path;
  struct stat st;
  if (::lstat(path.c_str(), &st) == 0) return path;  // an exact match wins

  DIR* d = ::opendir(dir.c_str());
  if (!d) return path;
  std::vector<std::string> matches;
  while (const dirent* e = ::readdir(d)) {
    const std::string_view candidate(e->d_name);
    if (equalsFolded(candidate, name)) matches.emplace_back(candidate);
  }
  ::closedir(d);
  if (matches.empty()) return path;
  std::sort(matches.begin(), matches.end());  // byte order: std::string compares as unsigned char
  const std::string prefix = slash == std::string::npos ? std::string() : dir;
  return prefix + matches.front();
}

WordList readUserWordList(const std::string& path) {
  const File file(resolvePath(path));
  if (!file.ok()) return {};
  const bool tooLong = file.size() > kMaxUserListBytes;
  const std::size_t want =
      static_cast<std::size_t>(std::min<std::uint64_t>(file.size(), kMaxUserListBytes));
  std::string text(want, '\0');
  text.resize(file.readAt(text.data(), want, 0));
  // A cut list keeps its whole lines, whichever line end its text uses.
  if (tooLong) text.resize(text.find_last_of("\r\n") + 1);  // npos + 1 == 0
  return splitLines(userListTo1252(std::move(text)));
}

std::string_view entryWord(std::string_view line) {
  const std::size_t eq = line.find('=');
  return eq == std::string_view::npos ? line : line.substr(0, eq);
}

std::string_view findTranslation(const WordList& list, std::string_view word) {
  if (word.empty()) return {};
  const std::size_t keyLength = word.size() + 1;  // the word and its '='
  for (std::size_t i = 0; i < list.count(); ++i) {
    const std::string_view line = list.line(i);
    if (line.size() < keyLength || line[word.size()] != '=') continue;
    if (equalsFolded(line.substr(0, word.size()), word)) return line.substr(keyLength);
  }
  return {};
}

}  // namespace tavro2
