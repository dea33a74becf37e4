#include "cli/cli_platform.h"

#include <cstdio>

namespace merilon::cli {
namespace {

// A file dialog gives full names, and files are remembered under them.
std::filesystem::path fullName(const std::filesystem::path& p) {
  std::error_code ec;
  const auto full = std::filesystem::absolute(p, ec);
  return ec ? p : full.lexically_normal();
}

}  // namespace

DialogResult CliPlatform::showMessage(const MessageRequest& request) {
  std::fprintf(stderr, "%s: %s\n", request.title.c_str(), request.text.c_str());
  if (answer) return answer(request);
  return request.buttons == MessageButtons::Ok ? DialogResult::Ok : DialogResult::No;
}

std::optional<std::filesystem::path> CliPlatform::chooseOpenFile(const FileDialogRequest&) {
  if (openAnswers.empty()) return std::nullopt;
  auto p = openAnswers.front();
  openAnswers.pop_front();
  return fullName(p);
}

std::optional<std::filesystem::path> CliPlatform::chooseSaveFile(const FileDialogRequest&) {
  if (saveAnswers.empty()) return std::nullopt;
  auto p = saveAnswers.front();
  saveAnswers.pop_front();
  return fullName(p);
}

void CliPlatform::showModal(Form& form) {
  form.visible = true;
  if (modalHandler) modalHandler(form);
  form.visible = false;
}

void CliPlatform::showModeless(Form& form) { form.visible = true; }

void CliPlatform::closeForm(Form& form) { form.visible = false; }

}  // namespace merilon::cli
