#pragma once
// The user-interface seam on a terminal: messages go to standard error, questions are answered
// without asking (OK/Yes with --yes, otherwise the box's default, which for a question is Cancel
// or No), and file dialogs return the path given on the command line.

#include "lang/UserInterface.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace vpr::cli {

class TerminalUserInterface : public UserInterface {
public:
  explicit TerminalUserInterface(std::ostream& errors);

  // Answer every question with OK or Yes.
  void setAssumeYes(bool yes) { assumeYes_ = yes; }
  bool assumeYes() const { return assumeYes_; }
  // The path the next file dialog returns.
  void setChosenFile(std::optional<std::string> path) { chosenFile_ = std::move(path); }

  MessageAnswer showMessage(const MessageRequest& request) override;
  std::optional<std::string> chooseFileToOpen(const FileRequest& request) override;
  std::optional<std::string> chooseFileToSave(const FileRequest& request) override;
  void pumpOneMessage() override {}
  void reportProgress(int done, int total, const std::string& label) override;

  // Prints a failure message: "vpr40t-cli: <text>".
  void fail(const std::string& text);

private:
  std::ostream& errors_;
  bool assumeYes_ = false;
  std::optional<std::string> chosenFile_;
};

} // namespace vpr::cli
