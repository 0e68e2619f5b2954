#include "model/PlatformFile.h"

#include <algorithm>
#include <string>

#include <windows.h>

namespace vpr {

namespace {

std::error_code lastError() {
  return {static_cast<int>(GetLastError()), std::system_category()};
}

// Closes the handle when the scope ends.
class FileHandle {
public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Closes now; false when closing failed.
  bool close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != FALSE;
  }

private:
  HANDLE handle_;
};

bool writeFully(HANDLE handle, const std::uint8_t* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 20));
    if (!WriteFile(handle, data + done, chunk, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    done += written;
  }
  return true;
}

} // namespace

bool PlatformFile::readRegular(const std::string& path, std::uint8_t* buffer, std::size_t size,
                               std::size_t& count) {
  count = 0;
  // Without backup semantics a folder does not open; a pipe or device is refused below.
  FileHandle file(CreateFileW(std::filesystem::path(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK) return false;
  while (count < size) {
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - count, 1u << 20));
    if (!ReadFile(file.get(), buffer + count, chunk, &got, nullptr)) return false;
    if (got == 0) break;
    count += got;
  }
  return true;
}

PlatformFile::Outcome PlatformFile::replace(const std::filesystem::path& target, const std::uint8_t* data,
                                            std::size_t size, std::error_code& error) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  // A read-only file stays as it is, as it would when written in place.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    error = std::make_error_code(std::errc::permission_denied);
    return Outcome::CannotCreate;
  }

  // A hidden file beside the target, ".<name>.<number>"; a name already taken is skipped.
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  std::filesystem::path temporary;
  HANDLE created = INVALID_HANDLE_VALUE;
  const unsigned long long seed = GetTickCount64() ^ GetCurrentProcessId();
  for (unsigned attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = folder / (L"." + target.filename().wstring() + L"." + std::to_wstring(seed + attempt));
    created =
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  FileHandle file(created);
  if (!file.valid()) {
    error = lastError();
    return Outcome::CannotCreate;
  }

  if (!writeFully(file.get(), data, size) || !FlushFileBuffers(file.get())) error = lastError();
  if (!file.close() && !error) error = lastError();
  // The renamed file is an ordinary one again: keep the attributes of the file it replaces.
  if (!error)
    SetFileAttributesW(temporary.c_str(),
                       attributes == INVALID_FILE_ATTRIBUTES ? FILE_ATTRIBUTE_NORMAL : attributes);
  if (!error &&
      !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = lastError();
  if (error) {
    DeleteFileW(temporary.c_str());
    return Outcome::WriteFailed;
  }
  return Outcome::Replaced;
}

} // namespace vpr
