#include "lang/UserInterface.h"

namespace vpr {

void UserInterface::error(const std::string& text, const std::string& caption) {
  showMessage({MessageKind::Error, text, caption, MessageButtons::Ok, MessageIcon::None, std::nullopt});
}

void UserInterface::warning(const std::string& text, const std::string& caption) {
  showMessage({MessageKind::Warning, text, caption, MessageButtons::Ok, MessageIcon::None, std::nullopt});
}

bool UserInterface::confirm(const std::string& text, const std::string& caption) {
  return showMessage({MessageKind::Confirmation, text, caption, MessageButtons::OkCancel, MessageIcon::None,
                      MessageAnswer::Cancel}) == MessageAnswer::Ok;
}

} // namespace vpr
