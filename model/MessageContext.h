#pragma once
// What a failure message says after its own text: which file or which port (with its device)
// it is about, and the operating system's reason. A message such as "Read-only file system" or
// "The communication port cannot be opened." is kept as it is and followed by a blank line and
// these lines, so that the user can tell which file or cable to look at.
// It only builds text; showing it is the caller's part.

#include <string>
#include <system_error>

namespace vpr {

class MessageContext {
public:
  static constexpr int kTextFile = 10026063;   // "File: %s"
  static constexpr int kTextPort = 10026064;   // "Port: %s (%s)"
  static constexpr int kTextReason = 10026065; // "Reason: %s"

  // The message followed by the file's path and, when there is one, the reason.
  static std::string aboutFile(const std::string& message, const std::string& path,
                               const std::string& reason = {});
  static std::string aboutFile(const std::string& message, const std::string& path,
                               const std::error_code& error);
  // The message followed by the port ("COM<n>") with its device and, when there is one, the reason.
  static std::string aboutPort(const std::string& message, int portNumber, const std::string& device,
                               const std::string& reason);

private:
  // A reason that only repeats the message is left out.
  static std::string withLines(const std::string& message, const std::string& subject,
                               const std::string& reason);
};

} // namespace vpr
