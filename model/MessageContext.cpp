#include "model/MessageContext.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"

namespace vpr {

std::string MessageContext::withLines(const std::string& message, const std::string& subject,
                                      const std::string& reason) {
  std::string text = message + "\n\n" + subject;
  if (!reason.empty() && reason != message) text += "\n" + formatText(textOf(kTextReason), {reason});
  return text;
}

std::string MessageContext::aboutFile(const std::string& message, const std::string& path,
                                      const std::string& reason) {
  return withLines(message, formatText(textOf(kTextFile), {path}), reason);
}

std::string MessageContext::aboutFile(const std::string& message, const std::string& path,
                                      const std::error_code& error) {
  return aboutFile(message, path, error ? error.message() : std::string());
}

std::string MessageContext::aboutPort(const std::string& message, int portNumber, const std::string& device,
                                      const std::string& reason) {
  const std::string port = formatText("COM%d", {portNumber});
  return withLines(message, formatText(textOf(kTextPort), {port, device}), reason);
}

} // namespace vpr
