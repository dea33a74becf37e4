// The DXF text format read as group-code/value pairs: one code line and one value line each,
// lines ended by LF, CR LF or CR, blanks and control characters trimmed off both ends. Every
// reader of DXF drawings sits on this, so that an entity name or a group code is only ever
// recognised where the format puts it, never in a value that happens to read the same.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace merilon {

struct DxfPair {
  int code = 0;
  // The trimmed value line, raw bytes of the file (code page of the drawing). Valid until the
  // next call of next() that reads on.
  std::string_view value;
  // Line number (from 1) of the code line; the value is on the line after it.
  std::size_t line = 0;
  std::size_t valueLine() const { return line + 1; }
};

class DxfPairReader {
 public:
  enum class Status { Reading, End, BadCode };

  // Reads a file in large blocks. False when it cannot be opened; `error` gives the reason.
  bool open(const std::filesystem::path& path, std::string& error);
  // Reads bytes held by the caller (kept alive by the caller while reading).
  void openBytes(std::string_view bytes);

  // The next pair; false at the end of the data, on a group code that is not a whole number
  // (status() then tells which) or on a read error (readError()). An empty line where a code is
  // due is passed over. A code line without its value line at the end counts as the end.
  bool next(DxfPair& pair);
  // The pair last returned comes again from the next call (one pair of push-back).
  void pushBack() { pushedBack_ = true; }

  Status status() const { return status_; }
  // For BadCode: the offending line and its text.
  std::size_t errorLine() const { return errorLine_; }
  const std::string& readError() const { return readError_; }

  // The file begins with the signature of the binary form of DXF.
  bool isBinary() const { return binary_; }
  std::uintmax_t size() const { return size_; }
  // Bytes consumed so far (for progress).
  std::uintmax_t position() const { return consumed_; }
  std::size_t linesRead() const { return lines_; }

 private:
  struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  bool readLine(std::string_view& line);
  bool fill();
  void checkBinary();

  std::unique_ptr<std::FILE, FileCloser> file_;
  std::vector<char> buffer_;
  const char* data_ = nullptr;  // the bytes being read: buffer_ or the caller's
  std::size_t begin_ = 0, end_ = 0;
  bool eof_ = true;
  std::uintmax_t size_ = 0;
  std::uintmax_t consumed_ = 0;
  std::size_t lines_ = 0;
  DxfPair last_;
  bool pushedBack_ = false;
  Status status_ = Status::Reading;
  std::size_t errorLine_ = 0;
  std::string readError_;
  bool binary_ = false;
};

// Blanks and control characters (every byte up to the space) removed from both ends.
std::string_view trimDxf(std::string_view text);

}  // namespace merilon
