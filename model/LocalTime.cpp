#include "model/LocalTime.h"

namespace vpr {

std::string localTimeText(std::time_t when, const char* format) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &when);
#else
  localtime_r(&when, &local);
#endif
  char text[64];
  const std::size_t length = std::strftime(text, sizeof text, format, &local);
  return std::string(text, length);
}

} // namespace vpr
