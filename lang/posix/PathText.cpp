#include "lang/PathText.h"

namespace vpr {

std::filesystem::path PathText::toPath(std::string_view text) {
  return std::filesystem::path(text);
}

std::string PathText::toText(const std::filesystem::path& path) {
  return path.native();
}

} // namespace vpr
