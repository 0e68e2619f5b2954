#pragma once
// A scripted stand-in for the person at the screen: answers come from queues the test fills,
// and every call is recorded so that a test can state what the user saw.

#include "lang/UserInterface.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vpr::test {

class FakeUserInterface : public UserInterface {
public:
  // Answers given to the next message boxes, in order. When the queue is empty a box is
  // answered with its default button (Cancel for OK/Cancel confirmations, else the first button).
  std::deque<MessageAnswer> answers;
  // File names returned by the next file dialogs; nullopt stands for Cancel.
  std::deque<std::optional<std::string>> openChoices;
  std::deque<std::optional<std::string>> saveChoices;

  std::vector<MessageRequest> messages;  // every message box shown
  std::vector<FileRequest> openRequests; // every file-open dialog
  std::vector<FileRequest> saveRequests; // every file-save dialog
  int pumpCount = 0;
  struct Progress {
    int done;
    int total;
    std::string label;
  };
  std::vector<Progress> progress;

  MessageAnswer showMessage(const MessageRequest& request) override;
  std::optional<std::string> chooseFileToOpen(const FileRequest& request) override;
  std::optional<std::string> chooseFileToSave(const FileRequest& request) override;
  // Runs at every pumped message (a test looks at what the caller is doing then).
  std::function<void()> onPump;
  void pumpOneMessage() override {
    ++pumpCount;
    if (onPump) onPump();
  }
  void reportProgress(int done, int total, const std::string& label) override {
    progress.push_back({done, total, label});
  }

  // The texts of all message boxes shown, in order.
  std::vector<std::string> messageTexts() const;
};

} // namespace vpr::test
