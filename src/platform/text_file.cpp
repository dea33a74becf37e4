#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/cp1250.h"
#include "platform/memory_advice.h"

namespace merilon {
namespace {

std::string systemReason() { return std::strerror(errno); }

// Reads the whole file into `bytes` with one allocation of its size (and one byte more, for a
// line end the reader may add): a file larger than the memory fails at once. On a read error
// `bytes` keeps what was read before it.
bool readWholeFile(std::FILE* f, const std::filesystem::path& path, std::string& bytes,
                   std::string& error) {
  bytes.clear();
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec) {
    bytes.reserve(static_cast<std::size_t>(size) + 1);
    adviseHugePagesIfLarge(bytes.data(), bytes.capacity());
  }
  char buf[1 << 16];
  std::size_t n = 0;
  errno = 0;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  if (std::ferror(f)) {
    error = systemReason();
    return false;
  }
  return true;
}

bool readWholeFile(const std::filesystem::path& path, std::string& bytes, std::string& error) {
  errno = 0;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!f) {
    error = systemReason();
    return false;
  }
  return readWholeFile(f.get(), path, bytes, error);
}

// Ends every line of ASCII text with one LF, in place: CR LF and a lone CR become LF, and a last
// line without its end gets one. The text then is what TextLines holds.
void normaliseLineEnds(std::string& text, std::size_t from) {
  char* d = text.data();
  const std::size_t n = text.size();
  std::size_t w = 0;
  while (from < n) {
    const void* cr = std::memchr(d + from, '\r', n - from);
    const std::size_t end = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - d) : n;
    if (w != from) std::memmove(d + w, d + from, end - from);
    w += end - from;
    if (!cr) break;
    d[w++] = '\n';
    from = end + 1;
    if (from < n && d[from] == '\n') ++from;
  }
  text.resize(w);
  if (!text.empty() && text.back() != '\n') text.push_back('\n');
}

}  // namespace

std::vector<std::string> splitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\n' || c == '\r') {
      lines.emplace_back(bytes.substr(start, i - start));
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

bool readCp1250Lines(const std::filesystem::path& path, std::vector<std::string>& lines,
                     std::string& error) {
  std::string bytes;
  if (!readWholeFile(path, bytes, error)) return false;
  lines = splitLines(bytes);
  for (auto& line : lines) {
    if (!isAscii(line)) line = decodeCp1250(line);
  }
  return true;
}

bool readUserText(const std::filesystem::path& path, TextLines& text, std::string& error) {
  std::string bytes;
  if (!readWholeFile(path, bytes, error)) return false;
  const bool utf8 = isUserTextUtf8(bytes);
  std::string_view body = bytes;
  if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
  const bool ascii = isAscii(body);
  if (ascii) {
    // The common survey file: its bytes become the block of lines without a second copy.
    normaliseLineEnds(bytes, static_cast<std::size_t>(body.data() - bytes.data()));
    text = TextLines::fromText(std::move(bytes));
    return true;
  }
  text = TextLines();
  text.reserve(static_cast<std::size_t>(std::count(body.begin(), body.end(), '\n')) + 1,
               ascii ? body.size() + 1 : body.size() + body.size() / 2 + 1);
  const char* d = body.data();
  auto add = [&](std::size_t from, std::size_t to) {
    const std::string_view line(d + from, to - from);
    if (ascii || isAscii(line)) {
      text.push_back(line);
    } else {
      text.push_back(utf8 ? repairUtf8(line) : decodeCp1250(line));
    }
  };
  // Lines end at LF, CR LF or CR; a final line end makes no empty line.
  const std::size_t n = body.size();
  std::size_t pos = 0;
  while (pos < n) {
    const void* lf = std::memchr(d + pos, '\n', n - pos);
    const std::size_t end = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - d) : n;
    std::size_t from = pos;
    for (;;) {
      const void* cr = std::memchr(d + from, '\r', end - from);
      if (!cr) {
        add(from, end);
        break;
      }
      const auto at = static_cast<std::size_t>(static_cast<const char*>(cr) - d);
      add(from, at);
      from = at + 1;
      if (from == end) break;  // CR LF, or a CR that ends the file
    }
    pos = end + 1;
  }
  return true;
}

bool readUserTextLines(const std::filesystem::path& path, std::vector<std::string>& lines,
                       std::string& error) {
  TextLines text;
  if (!readUserText(path, text, error)) return false;
  lines = text.toVector();
  return true;
}

bool TextLineReader::open(const std::filesystem::path& path, std::string& error) {
  errno = 0;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!f) {
    error = systemReason();
    return false;
  }
  error_.clear();
  // A read error is reported after the lines read before it, as a streaming reader would.
  readWholeFile(f.get(), path, bytes_, error_);
  fileSize_ = bytes_.size();
  next_ = 0;
  nextLf_ = std::string_view::npos;
  return true;
}

namespace {

// The end of the line that starts at `from`: the first CR or LF. `lf` caches the next LF at or
// after `from` (or the end), so that a file of CR line ends is not searched to its end for each
// line.
std::size_t lineEndAt(std::string_view bytes, std::size_t from, std::size_t& lf) {
  const char* d = bytes.data();
  if (lf < from || lf == std::string_view::npos) {
    const void* hit = std::memchr(d + from, '\n', bytes.size() - from);
    lf = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - d) : bytes.size();
  }
  const void* cr = std::memchr(d + from, '\r', lf - from);
  return cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - d) : lf;
}

// Where the line after the one ending at `end` starts.
std::size_t afterLineEnd(std::string_view bytes, std::size_t end) {
  if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
    return end + 2;
  return end + 1;
}

}  // namespace

std::size_t TextLineReader::lineCount() const {
  // One pass without branches: every LF ends a line, and so does a CR not followed by LF.
  const auto* d = reinterpret_cast<const unsigned char*>(bytes_.data());
  const std::size_t n = bytes_.size();
  if (n == 0) return 0;
  std::size_t ends = 0;
  for (std::size_t i = 0; i + 1 < n; ++i) {
    ends += static_cast<std::size_t>((d[i] == '\n') | ((d[i] == '\r') & (d[i + 1] != '\n')));
  }
  // The last byte either ends the last line or belongs to a line without an end: one more line
  // either way.
  return ends + 1;
}

bool TextLineReader::next(std::string& utf8Line, std::size_t& rawLength) {
  if (next_ >= bytes_.size()) return false;
  const std::size_t end = lineEndAt(bytes_, next_, nextLf_);
  const std::string_view raw = std::string_view(bytes_).substr(next_, end - next_);
  rawLength = raw.size();
  if (isAscii(raw)) {
    utf8Line.assign(raw);
  } else {
    utf8Line = decodeCp1250(raw);
  }
  next_ = afterLineEnd(bytes_, end);
  return true;
}

std::filesystem::path linkTarget(const std::filesystem::path& name) {
  std::filesystem::path p = name;
  // A loop of links ends after as many steps as the system itself allows.
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(p, ec)) break;
    const auto next = std::filesystem::read_symlink(p, ec);
    if (ec) break;
    p = next.is_absolute() ? next : p.parent_path() / next;
  }
  return p;
}

std::filesystem::path temporaryFileFor(const std::filesystem::path& target) {
  std::filesystem::path temp = linkTarget(target);
  temp += ".tmp~";
  return temp;
}

SafeFileWriter::SafeFileWriter(std::filesystem::path target) : target_(std::move(target)) {}

SafeFileWriter::~SafeFileWriter() { discard(); }

bool SafeFileWriter::open() {
  const std::filesystem::path finalTarget = linkTarget(target_);
  temp_ = temporaryFileFor(target_);
  // What a killed save left goes first; it may even be a link, which is removed, not followed.
  if (::unlink(temp_.c_str()) != 0 && errno != ENOENT) {
    error_ = systemReason();
    temp_.clear();
    return false;
  }
  struct stat old {};
  const bool replacing = ::stat(finalTarget.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  errno = 0;
  fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    error_ = systemReason();
    temp_.clear();
    return false;
  }
  if (replacing) {
    // The new file is the old one to its user: same permission bits, owner where allowed.
    if (::fchmod(fd_, old.st_mode & 07777) != 0) fail(systemReason());
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
      [[maybe_unused]] const int ignored = ::fchown(fd_, old.st_uid, old.st_gid);
    }
  }
  buffer_.reserve(1 << 16);
  return true;
}

void SafeFileWriter::fail(const std::string& reason) {
  if (error_.empty()) error_ = reason;
}

void SafeFileWriter::writeAll(const char* p, std::size_t left) {
  if (fd_ < 0) return;
  while (left > 0 && error_.empty()) {
    const ssize_t n = ::write(fd_, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(systemReason());
      break;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
}

void SafeFileWriter::flushBuffer() {
  if (buffer_.empty()) return;
  writeAll(buffer_.data(), buffer_.size());
  buffer_.clear();
}

void SafeFileWriter::writeBytes(std::string_view bytes) {
  // Large blocks (of writers that buffer themselves) go out without another copy.
  if (buffer_.empty() && bytes.size() >= (1 << 16)) {
    writeAll(bytes.data(), bytes.size());
    return;
  }
  buffer_.append(bytes);
  if (buffer_.size() >= (1 << 16)) flushBuffer();
}

void SafeFileWriter::writeLine(std::string_view utf8) {
  if (isAscii(utf8)) {
    buffer_.append(utf8);
  } else {
    buffer_.append(encodeCp1250(utf8));
  }
  buffer_.append("\r\n");
  if (buffer_.size() >= (1 << 16)) flushBuffer();
}

void SafeFileWriter::closeFile() {
  if (fd_ < 0) return;
  if (::close(fd_) != 0) fail(systemReason());
  fd_ = -1;
}

bool SafeFileWriter::commit() {
  if (fd_ < 0) return false;
  flushBuffer();
  // On disk before the rename, so that a crash leaves either the old file or the whole new one.
  if (error_.empty() && ::fsync(fd_) != 0) fail(systemReason());
  closeFile();
  if (error_.empty() && ::rename(temp_.c_str(), linkTarget(target_).c_str()) != 0) {
    fail(systemReason());
  }
  if (!error_.empty()) {
    discard();
    return false;
  }
  temp_.clear();
  // The rename itself reaches the disk with its folder.
  const std::filesystem::path folder = linkTarget(target_).parent_path();
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

void SafeFileWriter::discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
}

bool writeCp1250Lines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                      std::string& error) {
  SafeFileWriter writer(path);
  if (!writer.open()) {
    error = writer.error();
    return false;
  }
  for (const auto& line : lines) writer.writeLine(line);
  if (!writer.commit()) {
    error = writer.error();
    return false;
  }
  return true;
}

}  // namespace merilon
