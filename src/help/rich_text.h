// Rich text as the description viewer holds it: paragraphs of runs, each run plain, bold or
// italic; and the reader of the small RTF subset the description file is written in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"

namespace merilon {

struct TextRun {
  std::string text;  // UTF-8
  bool bold = false;
  bool italic = false;
  bool operator==(const TextRun&) const = default;
};

struct RichParagraph {
  std::vector<TextRun> runs;
  bool operator==(const RichParagraph&) const = default;
};

struct RichText {
  std::vector<RichParagraph> paragraphs;

  // The characters of the text with one "\n" between paragraphs: positions in it (counted in
  // characters) are the positions of the selection.
  std::string plainText() const;
  bool empty() const { return paragraphs.empty(); }
};

// Reads RTF: groups, paragraphs (\par), bold (\b, \b0), italic (\i, \i0), \plain, tabs, the
// escaped characters \\ \{ \}, code page 1250 bytes written as \'xx, and \uN characters. Control
// words it does not know are skipped together with their parameter, and the contents of
// destination groups (font and colour tables, style sheet, information, pictures, {\* ...}) are
// never shown. Adjacent runs of the same style are merged.
RichText readRtf(std::string_view rtf);

// A read-only rich-text editor: its text, the selection (in characters) and a request for the
// keyboard focus that the front end honours.
struct RichEdit : Control {
  RichText text;
  bool readOnly = true;
  int selStart = 0;
  int selLength = 0;
  // Bumped by every change of the text, so that a view reloads it only when needed.
  std::uint64_t textRevision = 0;
  // Bumped when a handler gives the editor the focus.
  std::uint64_t focusRequests = 0;
  int height = 0;

  void setText(RichText t) {
    text = std::move(t);
    selStart = 0;
    selLength = 0;
    ++textRevision;
  }
};

}  // namespace merilon
