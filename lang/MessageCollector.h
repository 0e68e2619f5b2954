#pragma once
// A user-interface seam that passes everything on to another one and keeps the texts of the
// messages shown, so that a write can put a failure's own words into the job record.

#include "lang/UserInterface.h"

#include <string>
#include <vector>

namespace vpr {

class MessageCollector : public UserInterface {
public:
  explicit MessageCollector(UserInterface& inner) : inner_(inner) {}

  MessageAnswer showMessage(const MessageRequest& request) override {
    messages.push_back(request.text);
    return inner_.showMessage(request);
  }
  std::optional<std::string> chooseFileToOpen(const FileRequest& request) override {
    return inner_.chooseFileToOpen(request);
  }
  std::optional<std::string> chooseFileToSave(const FileRequest& request) override {
    return inner_.chooseFileToSave(request);
  }
  void pumpOneMessage() override { inner_.pumpOneMessage(); }
  void reportProgress(int done, int total, const std::string& label) override {
    inner_.reportProgress(done, total, label);
  }

  std::vector<std::string> messages;

private:
  UserInterface& inner_;
};

} // namespace vpr
