#include "cli/cli_platform.h"

#include <cstdio>

namespace merilon::cli {

DialogResult CliPlatform::showMessage(const MessageRequest& request) {
  std::fprintf(stderr, "%s: %s\n", request.title.c_str(), request.text.c_str());
  if (answer) return answer(request);
  return request.buttons == MessageButtons::Ok ? DialogResult::Ok : DialogResult::No;
}

std::optional<std::filesystem::path> CliPlatform::chooseOpenFile(const FileDialogRequest&) {
  if (openAnswers.empty()) return std::nullopt;
  auto p = openAnswers.front();
  openAnswers.pop_front();
  return p;
}

std::optional<std::filesystem::path> CliPlatform::chooseSaveFile(const FileDialogRequest&) {
  if (saveAnswers.empty()) return std::nullopt;
  auto p = saveAnswers.front();
  saveAnswers.pop_front();
  return p;
}

void CliPlatform::showModal(Form& form) {
  form.visible = true;
  if (modalHandler) modalHandler(form);
  form.visible = false;
}

void CliPlatform::showModeless(Form& form) { form.visible = true; }

void CliPlatform::closeForm(Form& form) { form.visible = false; }

}  // namespace merilon::cli
