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
#include <mutex>
#include <vector>

namespace tavro2 {
namespace {

// Output reserved for a block is min(TextSize, this many times the block's
// compressed size): TextSize alone is untrusted, and dictionary text rarely
// compresses better than 1:8. A block that does still decodes correctly,
// only with a reallocation or two.
constexpr std::size_t kReserveRatio = 32;

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

char foldAZ(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (foldAZ(a[i]) != foldAZ(b[i])) return false;
  return true;
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

// Whether a block's text is shorter than its TextSize says.
bool fellShort(std::string_view block, const std::string& text) {
  return block.size() < 4 || text.size() < getU32(block.data());
}

struct Trailer {
  std::uint32_t firstBlockSize;
  std::uint32_t secondBlockSize;
  double dataDate;
};

Trailer parseTrailer(const char* p) { return {getU32(p), getU32(p + 4), getF64(p + 8)}; }

// Decodes both blocks from `body`, the bytes of the file before the trailer
// (or at least the first FirstBlockSize + SecondBlockSize of them).
DataFileContents decodeBody(std::string_view body, const Trailer& t,
                            const std::atomic<bool>* cancel) {
  DataFileContents out;
  out.dataDate = t.dataDate;
  const std::size_t firstEnd = std::min<std::size_t>(t.firstBlockSize, body.size());
  const std::size_t secondEnd =
      std::min<std::uint64_t>(std::uint64_t{t.firstBlockSize} + t.secondBlockSize, body.size());

  BlockText first = DecompressBlock(body.substr(0, firstEnd), cancel);
  if (first.cancelled) {
    out.outcome = DataOutcome::kCancelled;
    return out;
  }
  BlockText second = DecompressBlock(body.substr(firstEnd, secondEnd - firstEnd), cancel);
  if (second.cancelled) {
    out.outcome = DataOutcome::kCancelled;
    return out;
  }
  // A clipped block may still have decoded to its full TextSize; its text is
  // then whole, but the file is damaged all the same. One that fell short of
  // it lost its end to the clipping.
  const bool firstClipped = firstEnd < t.firstBlockSize;
  const bool secondClipped = std::uint64_t{t.firstBlockSize} + t.secondBlockSize > body.size();
  if (first.damaged || (firstClipped && fellShort(body.substr(0, firstEnd), first.text)))
    keepWholeLines(first.text);
  if (second.damaged ||
      (secondClipped && fellShort(body.substr(firstEnd, secondEnd - firstEnd), second.text)))
    keepWholeLines(second.text);
  const bool damaged = firstClipped || secondClipped || first.damaged || second.damaged;
  out.headwords = std::move(first.text);
  out.translations = std::move(second.text);
  out.outcome = damaged ? DataOutcome::kDamaged : DataOutcome::kLoaded;
  return out;
}

}  // namespace

BlockText DecompressBlock(std::string_view block, const std::atomic<bool>* cancel) {
  BlockText out;
  if (block.size() < 4) {
    out.damaged = true;  // not even a TextSize
    return out;
  }
  if (!initUcl()) {
    out.damaged = true;
    return out;
  }
  const std::uint32_t textSize = getU32(block.data());
  std::string& text = out.text;
  // Decoding goes straight into the text's tail, which needs kMaxChunkSize
  // free bytes beyond what is already there.
  const std::size_t expected =
      std::min<std::uint64_t>(textSize, std::uint64_t{block.size()} * kReserveRatio);
  if (textSize > 0) text.reserve(expected + kMaxChunkSize);

  std::size_t pos = 4;
  while (text.size() < textSize) {
    if (cancel && cancel->load(std::memory_order_relaxed)) {
      out.cancelled = true;
      break;
    }
    if (block.size() - pos < 4) break;  // out of chunks: the text is shorter than TextSize
    const std::uint32_t chunkSize = getU32(block.data() + pos);
    pos += 4;
    if (chunkSize > kMaxChunkSize || chunkSize > block.size() - pos) {
      out.damaged = true;
      break;
    }
    const std::size_t have = text.size();
    text.resize(have + kMaxChunkSize);
    ucl_uint produced = kMaxChunkSize;
    const int r = ucl_nrv2e_decompress_safe_8(
        reinterpret_cast<const unsigned char*>(block.data() + pos), chunkSize,
        reinterpret_cast<unsigned char*>(text.data() + have), &produced, nullptr);
    if (r != UCL_E_OK || produced > kMaxChunkSize) {
      text.resize(have);
      out.damaged = true;
      break;
    }
    text.resize(have + produced);
    pos += chunkSize;
  }
  if (text.size() > textSize) text.resize(textSize);
  // A reservation that the chunks did not fill (a TextSize that lied, or
  // damage) is given back; an honest block wastes at most one chunk's room.
  if (text.capacity() - text.size() > kMaxChunkSize + text.size() / 16) text.shrink_to_fit();
  return out;
}

DataFileContents ParseDataFile(std::string_view image, const std::atomic<bool>* cancel) {
  if (image.size() < kTrailerSize) {
    DataFileContents out;
    out.outcome = DataOutcome::kDamaged;
    return out;
  }
  const Trailer t = parseTrailer(image.data() + image.size() - kTrailerSize);
  return decodeBody(image.substr(0, image.size() - kTrailerSize), t, cancel);
}

DataFileContents ReadDataFile(const std::string& path, const std::atomic<bool>* cancel) {
  DataFileContents out;
  const File file(ResolvePath(path));
  if (!file.ok()) return out;  // kMissing
  out.outcome = DataOutcome::kDamaged;
  if (file.size() < kTrailerSize) return out;
  char trailerBytes[kTrailerSize];
  if (file.readAt(trailerBytes, kTrailerSize, file.size() - kTrailerSize) != kTrailerSize)
    return out;
  const Trailer t = parseTrailer(trailerBytes);
  // Only the blocks are read, and never more than the file holds before its
  // trailer: the trailer's sizes cannot make this allocate beyond the file.
  const std::uint64_t bodySize = file.size() - kTrailerSize;
  const std::size_t want = static_cast<std::size_t>(
      std::min<std::uint64_t>(std::uint64_t{t.firstBlockSize} + t.secondBlockSize, bodySize));
  std::unique_ptr<char[]> body(new char[want == 0 ? 1 : want]);
  const std::size_t got = file.readAt(body.get(), want, 0);
  // A file that shrank under us reads as one whose blocks run past its end.
  return decodeBody(std::string_view(body.get(), got), t, cancel);
}

std::optional<double> ReadDataDate(const std::string& path) {
  const File file(ResolvePath(path));
  if (!file.ok() || file.size() < 8) return std::nullopt;
  char bytes[8];
  if (file.readAt(bytes, 8, file.size() - 8) != 8) return std::nullopt;
  return getF64(bytes);
}

std::string ResolvePath(const std::string& path) {
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
    if (equalFolded(candidate, name)) matches.emplace_back(candidate);
  }
  ::closedir(d);
  if (matches.empty()) return path;
  std::sort(matches.begin(), matches.end());  // byte order: std::string compares as unsigned char
  const std::string prefix = slash == std::string::npos ? std::string() : dir;
  return prefix + matches.front();
}

WordList ReadUserWordList(const std::string& path) {
  const File file(ResolvePath(path));
  if (!file.ok()) return {};
  const bool tooLong = file.size() > kMaxUserListBytes;
  const std::size_t want =
      static_cast<std::size_t>(std::min<std::uint64_t>(file.size(), kMaxUserListBytes));
  std::string text(want, '\0');
  text.resize(file.readAt(text.data(), want, 0));
  if (tooLong) keepWholeLines(text);
  return SplitLines(std::move(text));
}

std::string_view EntryWord(std::string_view line) {
  const std::size_t eq = line.find('=');
  return eq == std::string_view::npos ? line : line.substr(0, eq);
}

std::string_view FindTranslation(const WordList& list, std::string_view word) {
  if (word.empty()) return {};
  const std::size_t keyLength = word.size() + 1;  // the word and its '='
  for (std::size_t i = 0; i < list.count(); ++i) {
    const std::string_view line = list.line(i);
    if (line.size() < keyLength || line[word.size()] != '=') continue;
    if (equalFolded(line.substr(0, word.size()), word)) return line.substr(keyLength);
  }
  return {};
}

}  // namespace tavro2
