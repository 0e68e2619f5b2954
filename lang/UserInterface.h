#pragma once
// The one seam through which the core (language table, data model, radio link) talks to the
// person at the screen. The desktop program implements it with Qt dialogs, the command-line
// tool on the terminal, and the tests with a scripted fake that records every call.

#include <optional>
#include <string>

namespace vpr {

// The four kinds of message box. Each kind fixes a default caption and icon:
//  Error        caption text 10025001, stop icon, OK only
//  Confirmation caption text 10025002, exclamation icon, the caller's buttons
//  Warning      caption text 10025003, exclamation icon, OK only
//  Product      caption "VPR-40T", the caller's buttons and icon
enum class MessageKind { Error, Confirmation, Warning, Product };

enum class MessageIcon { None, Stop, Exclamation, Question, Information };

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };

enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

struct MessageRequest {
  MessageKind kind = MessageKind::Error;
  std::string text;
  // Empty: the kind's default caption.
  std::string caption;
  MessageButtons buttons = MessageButtons::Ok;
  // None: the kind's default icon.
  MessageIcon icon = MessageIcon::None;
  // The button that Enter presses; Cancel by default for confirmations.
  std::optional<MessageAnswer> defaultAnswer;
};

// A request for a file name from the user.
struct FileRequest {
  std::string folder;      // folder to start in
  std::string fileName;    // proposed name (save) or empty
  std::string filterName;  // file type name shown in the filter, e.g. "Data file"
  std::string extension;   // "dat"
};

class UserInterface {
public:
  virtual ~UserInterface() = default;

  // Shows a modal message box and returns the button pressed.
  virtual MessageAnswer showMessage(const MessageRequest& request) = 0;

  // An existing file to open, or nothing when the user cancelled.
  virtual std::optional<std::string> chooseFileToOpen(const FileRequest& request) = 0;
  // A file name to save under, or nothing when the user cancelled.
  virtual std::optional<std::string> chooseFileToSave(const FileRequest& request) = 0;

  // Handles at most one pending window event so that windows repaint during a radio exchange.
  virtual void pumpOneMessage() = 0;

  // Progress of a transfer: done of total steps; label is the text to show beside the bar.
  virtual void reportProgress(int done, int total, const std::string& label) = 0;

  // Convenience wrappers for the common kinds.
  void error(const std::string& text, const std::string& caption = {});
  void warning(const std::string& text, const std::string& caption = {});
  // OK and Cancel, Cancel the default; true when the user pressed OK.
  bool confirm(const std::string& text, const std::string& caption = {});
};

} // namespace vpr
