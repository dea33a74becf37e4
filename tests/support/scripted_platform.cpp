#include "support/scripted_platform.h"

#include <gtest/gtest.h>

namespace merilon::testing {

DialogResult ScriptedPlatform::showMessage(const MessageRequest& request) {
  messages.push_back(request);
  if (request.buttons == MessageButtons::Ok) return DialogResult::Ok;
  if (answers.empty()) {
    ADD_FAILURE() << "unexpected question: " << request.title << ": " << request.text;
    return DialogResult::Cancel;
  }
  const DialogResult r = answers.front();
  answers.pop_front();
  return r;
}

std::optional<std::filesystem::path> ScriptedPlatform::chooseOpenFile(
    const FileDialogRequest& request) {
  openRequests.push_back(request);
  if (openAnswers.empty()) return std::nullopt;
  auto r = openAnswers.front();
  openAnswers.pop_front();
  return r;
}

std::optional<std::filesystem::path> ScriptedPlatform::chooseSaveFile(
    const FileDialogRequest& request) {
  saveRequests.push_back(request);
  if (saveAnswers.empty()) return std::nullopt;
  auto r = saveAnswers.front();
  saveAnswers.pop_front();
  return r;
}

void ScriptedPlatform::processPendingEvents() {
  ++pendingEventsCount;
  if (onPendingEvents) onPendingEvents(pendingEventsCount);
}

void ScriptedPlatform::showModal(Form& form) {
  modalForms.push_back(&form);
  form.visible = true;
  if (onModal) onModal(form);
  form.visible = false;
}

std::vector<std::string> ScriptedPlatform::shownTexts() const {
  std::vector<std::string> texts;
  for (const auto& m : messages) texts.push_back(m.title + ": " + m.text);
  return texts;
}

}  // namespace merilon::testing
