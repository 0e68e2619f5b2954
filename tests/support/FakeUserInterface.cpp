#include "support/FakeUserInterface.h"

namespace vpr::test {

MessageAnswer FakeUserInterface::showMessage(const MessageRequest& request) {
  messages.push_back(request);
  if (!answers.empty()) {
    MessageAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  if (request.defaultAnswer) return *request.defaultAnswer;
  switch (request.buttons) {
  case MessageButtons::Ok:
  case MessageButtons::OkCancel:
    return MessageAnswer::Ok;
  case MessageButtons::YesNo:
  case MessageButtons::YesNoCancel:
    return MessageAnswer::Yes;
  case MessageButtons::RetryCancel:
    return MessageAnswer::Retry;
  }
  return MessageAnswer::Ok;
}

std::optional<std::string> FakeUserInterface::chooseFileToOpen(const FileRequest& request) {
  openRequests.push_back(request);
  if (openChoices.empty()) return std::nullopt;
  auto choice = openChoices.front();
  openChoices.pop_front();
  return choice;
}

std::optional<std::string> FakeUserInterface::chooseFileToSave(const FileRequest& request) {
  saveRequests.push_back(request);
  if (saveChoices.empty()) return std::nullopt;
  auto choice = saveChoices.front();
  saveChoices.pop_front();
  return choice;
}

std::vector<std::string> FakeUserInterface::messageTexts() const {
  std::vector<std::string> texts;
  for (const auto& m : messages) texts.push_back(m.text);
  return texts;
}

} // namespace vpr::test
