// Reading and writing text files. Files on disk are single-byte code page 1250 with CR LF line
// ends; in memory the lines are UTF-8. Every file the program touches goes through here.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_lines.h"

namespace merilon {

// Splits raw file bytes into lines at LF, CR LF or CR; a final line end makes no empty line.
std::vector<std::string> splitLines(std::string_view bytes);

// Reads a whole text file of the program's own (code page 1250). False when it cannot be read;
// `error` then holds the system's reason.
bool readCp1250Lines(const std::filesystem::path& path, std::vector<std::string>& lines,
                     std::string& error);

// Reads a text file brought by the user: a file that is valid UTF-8 and holds non-ASCII bytes is
// read as UTF-8 (a byte-order mark is dropped), any other as code page 1250.
bool readUserTextLines(const std::filesystem::path& path, std::vector<std::string>& lines,
                       std::string& error);

// The same, into one block of lines: what the preview pane holds.
bool readUserText(const std::filesystem::path& path, TextLines& text, std::string& error);

// Reads the lines of a code page 1250 file one at a time from the file read in one block, so
// that the reader knows their number before the first (`lineCount`). `rawLength` is the line's
// length in bytes on disk, without its line end.
class TextLineReader {
 public:
  bool open(const std::filesystem::path& path, std::string& error);
  // False at the end of the file.
  bool next(std::string& utf8Line, std::size_t& rawLength);
  std::uintmax_t fileSize() const { return fileSize_; }
  // The number of lines in the file (a final line end makes no empty line).
  std::size_t lineCount() const;
  // The system's reason when reading stopped on an error rather than at the end; empty else. The
  // lines read before the error are still given.
  const std::string& error() const { return error_; }

 private:
  std::string bytes_;
  std::size_t next_ = 0;
  std::size_t nextLf_ = 0;  // the next LF at or after next_ once searched
  std::uintmax_t fileSize_ = 0;
  std::string error_;
};

// The file a link points to, following a chain of links; the name itself when it is no link.
std::filesystem::path linkTarget(const std::filesystem::path& name);

// The temporary file a save of `target` writes first: beside the file the name finally points
// to, under a fixed name ("NAME.tmp~"), so that one left by a killed save is found again.
std::filesystem::path temporaryFileFor(const std::filesystem::path& target);

// Writes a file safely: the bytes go to the temporary file, which is flushed to disk and then
// renamed over the target only when everything was written, so a failed or killed save never
// destroys the old file. A target reached through a link is replaced where it lies (the link
// stays), and the new file keeps the old one's permission bits. A stale temporary file of an
// earlier save is replaced; a failed save removes its own.
class SafeFileWriter {
 public:
  explicit SafeFileWriter(std::filesystem::path target);
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  bool open();
  // Appends raw bytes (already code page 1250).
  void writeBytes(std::string_view bytes);
  // Appends one UTF-8 line, encoded to code page 1250 and ended with CR LF.
  void writeLine(std::string_view utf8);
  // Flushes to disk, closes and renames over the target. False on any failure so far.
  bool commit();
  // Gives up: the temporary file is removed and the target left untouched.
  void discard();
  const std::string& error() const { return error_; }

 private:
  void writeAll(const char* data, std::size_t size);
  void flushBuffer();
  void fail(const std::string& reason);
  void closeFile();
  std::filesystem::path target_;
  std::filesystem::path temp_;
  int fd_ = -1;
  std::string buffer_;
  std::string error_;
};

// Writes the whole file (lines in UTF-8, written as code page 1250 with CR LF) safely.
bool writeCp1250Lines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                      std::string& error);

}  // namespace merilon
