#include "platform/text_file.h"

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

bool readUserTextLines(const std::filesystem::path& path, std::vector<std::string>& lines,
                       std::string& error) {
  std::string bytes;
  if (!readWholeFile(path, bytes, error)) return false;
  const bool utf8 = isUserTextUtf8(bytes);
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
  lines = splitLines(bytes);
  for (auto& line : lines) {
    if (!isAscii(line)) line = utf8 ? repairUtf8(line) : decodeCp1250(line);
  }
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
        utf8Line = isAscii(raw) ? std::string(raw) : decodeCp1250(raw);
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
        utf8Line = isAscii(raw) ? std::string(raw) : decodeCp1250(raw);
        begin_ = end_;
        return true;
      }
      return false;
    }
    scanFrom = begin_ + scanned;
  }
}

SafeFileWriter::SafeFileWriter(std::filesystem::path target) : target_(std::move(target)) {}

SafeFileWriter::~SafeFileWriter() { discard(); }

bool SafeFileWriter::open() {
  temp_ = target_;
  temp_ += ".tmp~";
  errno = 0;
  file_ = std::fopen(temp_.c_str(), "wb");
  if (!file_) {
    error_ = systemReason();
    return false;
  }
  buffer_.reserve(1 << 16);
  return true;
}

void SafeFileWriter::fail(const std::string& reason) {
  if (error_.empty()) error_ = reason;
}

void SafeFileWriter::flushBuffer() {
  if (!file_ || buffer_.empty()) return;
  errno = 0;
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) fail(systemReason());
  buffer_.clear();
}

void SafeFileWriter::writeBytes(std::string_view bytes) {
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

bool SafeFileWriter::commit() {
  if (!file_) return false;
  flushBuffer();
  errno = 0;
  if (std::fflush(file_) != 0) fail(systemReason());
  if (std::fclose(file_) != 0) fail(systemReason());
  file_ = nullptr;
  if (!error_.empty()) {
    std::error_code ec;
    std::filesystem::remove(temp_, ec);
    return false;
  }
  std::error_code ec;
  std::filesystem::rename(temp_, target_, ec);
  if (ec) {
    error_ = ec.message();
    std::filesystem::remove(temp_, ec);
    return false;
  }
  temp_.clear();
  return true;
}

void SafeFileWriter::discard() {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!temp_.empty()) {
    std::error_code ec;
    std::filesystem::remove(temp_, ec);
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
