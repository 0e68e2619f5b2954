#include "model/RadioBackups.h"

#include "lang/PathText.h"

#include <windows.h>

namespace vpr {

bool RadioBackups::createNew(const std::string& path, std::span<const std::uint8_t> bytes,
                             std::error_code& error) {
  error.clear();
  const std::wstring wide = PathText::toPath(path).wstring();
  const HANDLE file =
      CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    error = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS
                ? std::make_error_code(std::errc::file_exists)
                : std::error_code(static_cast<int>(code), std::system_category());
    return false;
  }
  DWORD written = 0;
  // A data file is 1074 bytes: one call writes it whole.
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size() && FlushFileBuffers(file);
  if (!ok) {
    const DWORD code = GetLastError();
    error = {static_cast<int>(code ? code : ERROR_WRITE_FAULT), std::system_category()};
  }
  if (!CloseHandle(file) && !error) error = {static_cast<int>(GetLastError()), std::system_category()};
  if (!error) return true;
  DeleteFileW(wide.c_str());
  return false;
}

} // namespace vpr
