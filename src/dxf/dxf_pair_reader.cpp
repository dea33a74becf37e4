#include "dxf/dxf_pair_reader.h"

#include <cerrno>
#include <charconv>
#include <cstring>

namespace merilon {
namespace {

constexpr std::size_t kBlockSize = 4 << 20;
constexpr std::string_view kBinarySignature = "AutoCAD Binary DXF";

}  // namespace

std::string_view trimDxf(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return text.substr(b, e - b);
}

bool DxfPairReader::open(const std::filesystem::path& path, std::string& error) {
  *this = DxfPairReader();
  file_.reset(std::fopen(path.c_str(), "rb"));
  if (!file_) {
    error = std::strerror(errno);
    return false;
  }
  std::error_code ec;
  size_ = std::filesystem::file_size(path, ec);
  if (ec) size_ = 0;
  buffer_.resize(kBlockSize);
  data_ = buffer_.data();
  eof_ = false;
  fill();
  checkBinary();
  return true;
}

void DxfPairReader::openBytes(std::string_view bytes) {
  *this = DxfPairReader();
  data_ = bytes.data();
  end_ = bytes.size();
  size_ = bytes.size();
  checkBinary();
}

void DxfPairReader::checkBinary() {
  binary_ = std::string_view(data_ + begin_, end_ - begin_).starts_with(kBinarySignature);
}

bool DxfPairReader::fill() {
  if (eof_ || !file_) return false;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  // A line longer than the whole buffer: give it room.
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
  data_ = buffer_.data();
  const std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_.get());
  end_ += got;
  if (got == 0) {
    eof_ = true;
    if (std::ferror(file_.get())) readError_ = std::strerror(errno);
  }
  return got > 0;
}

bool DxfPairReader::readLine(std::string_view& line) {
  for (;;) {
    const char* p = data_ + begin_;
    const char* const stop = data_ + end_;
    while (p < stop && *p != '\n' && *p != '\r') ++p;
    // A CR at the very end of the bytes at hand may be the first half of CR LF.
    const bool complete = p < stop && (*p == '\n' || p + 1 < stop || eof_);
    if (complete) {
      const std::size_t length = static_cast<std::size_t>(p - (data_ + begin_));
      line = std::string_view(data_ + begin_, length);
      std::size_t ending = 1;
      if (*p == '\r' && p + 1 < stop && p[1] == '\n') ending = 2;
      begin_ += length + ending;
      consumed_ += length + ending;
      ++lines_;
      return true;
    }
    if (eof_) {
      if (begin_ == end_) return false;
      // The last line has no line end.
      line = std::string_view(data_ + begin_, end_ - begin_);
      consumed_ += end_ - begin_;
      begin_ = end_;
      ++lines_;
      return true;
    }
    fill();
  }
}

bool DxfPairReader::next(DxfPair& pair) {
  if (pushedBack_) {
    pushedBack_ = false;
    pair = last_;
    return true;
  }
  if (status_ != Status::Reading) return false;
  std::string_view codeText;
  do {
    if (!readLine(codeText)) {
      status_ = Status::End;
      return false;
    }
    codeText = trimDxf(codeText);
  } while (codeText.empty());
  const std::size_t codeLine = lines_;
  int code = 0;
  const auto res = std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
  if (res.ec != std::errc() || res.ptr != codeText.data() + codeText.size()) {
    status_ = Status::BadCode;
    errorLine_ = codeLine;
    return false;
  }
  std::string_view value;
  if (!readLine(value)) {
    status_ = Status::End;
    return false;
  }
  last_.code = code;
  last_.value = trimDxf(value);
  last_.line = codeLine;
  pair = last_;
  return true;
}

}  // namespace merilon
