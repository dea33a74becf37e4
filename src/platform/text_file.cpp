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

namespace merilon {
namespace {

std::string systemReason() { return std::strerror(errno); }

bool readWholeFile(const std::filesystem::path& path, std::string& bytes, std::string& error) {
  errno = 0;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!f) {
    error = systemReason();
    return false;
  }
  bytes.clear();
  // One allocation of the whole size: a file larger than the memory fails here at once.
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec) bytes.reserve(static_cast<std::size_t>(size));
  char buf[1 << 16];
  std::size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) bytes.append(buf, n);
  if (std::ferror(f.get())) {
    error = systemReason();
    return false;
  }
  return true;
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
  file_.reset(std::fopen(path.c_str(), "rb"));
  if (!file_) {
    error = systemReason();
    return false;
  }
  std::error_code ec;
  fileSize_ = std::filesystem::file_size(path, ec);
  if (ec) fileSize_ = 0;
  buffer_.resize(1 << 20);
  error_.clear();
  begin_ = end_ = 0;
  eof_ = false;
  pendingCr_ = false;
  return true;
}

bool TextLineReader::fill() {
  if (eof_) return false;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
  errno = 0;
  const std::size_t n = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_.get());
  if (n == 0) {
    if (std::ferror(file_.get())) error_ = systemReason();
    eof_ = true;
    return false;
  }
  end_ += n;
  return true;
}

bool TextLineReader::next(std::string& utf8Line, std::size_t& rawLength) {
  std::size_t scanFrom = begin_;
  for (;;) {
    if (pendingCr_ && begin_ < end_) {
      // The LF of a CR LF pair split across two reads.
      if (buffer_[begin_] == '\n') ++begin_;
      pendingCr_ = false;
      scanFrom = begin_;
    }
    for (std::size_t i = scanFrom; i < end_; ++i) {
      const char c = buffer_[i];
      if (c == '\n' || c == '\r') {
        std::string_view raw(buffer_.data() + begin_, i - begin_);
        rawLength = raw.size();
        if (isAscii(raw)) {
          utf8Line.assign(raw);
        } else {
          utf8Line = decodeCp1250(raw);
        }
        begin_ = i + 1;
        if (c == '\r') {
          if (begin_ < end_) {
            if (buffer_[begin_] == '\n') ++begin_;
          } else {
            pendingCr_ = true;
          }
        }
        return true;
      }
    }
    const std::size_t scanned = end_ - begin_;
    if (!fill()) {
      if (begin_ < end_) {
        std::string_view raw(buffer_.data() + begin_, end_ - begin_);
        rawLength = raw.size();
        if (isAscii(raw)) {
          utf8Line.assign(raw);
        } else {
          utf8Line = decodeCp1250(raw);
        }
        begin_ = end_;
        return true;
      }
      return false;
    }
    scanFrom = begin_ + scanned;
  }
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
