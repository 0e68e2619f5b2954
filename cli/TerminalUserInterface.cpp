#include "cli/TerminalUserInterface.h"

#include <ostream>

namespace vpr::cli {

TerminalUserInterface::TerminalUserInterface(std::ostream& errors) : errors_(errors) {}

void TerminalUserInterface::fail(const std::string& text) {
  errors_ << "vpr40t-cli: " << text << '\n';
}

MessageAnswer TerminalUserInterface::showMessage(const MessageRequest& request) {
  fail(request.text);
  switch (request.buttons) {
  case MessageButtons::Ok:
    return MessageAnswer::Ok;
  case MessageButtons::OkCancel:
    return assumeYes_ ? MessageAnswer::Ok : request.defaultAnswer.value_or(MessageAnswer::Cancel);
  case MessageButtons::YesNo:
    return assumeYes_ ? MessageAnswer::Yes : request.defaultAnswer.value_or(MessageAnswer::No);
  case MessageButtons::YesNoCancel:
    return assumeYes_ ? MessageAnswer::Yes : request.defaultAnswer.value_or(MessageAnswer::Cancel);
  case MessageButtons::RetryCancel:
    return MessageAnswer::Cancel;
  }
  return MessageAnswer::Cancel;
}

std::optional<std::string> TerminalUserInterface::chooseFileToOpen(const FileRequest&) {
  return chosenFile_;
}

std::optional<std::string> TerminalUserInterface::chooseFileToSave(const FileRequest&) {
  return chosenFile_;
}

void TerminalUserInterface::reportProgress(int done, int total, const std::string& label) {
  errors_ << '\r' << label << std::flush;
  if (done >= total) errors_ << '\n';
}

} // namespace vpr::cli
