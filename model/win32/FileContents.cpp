#include "model/FileContents.h"

#include "lang/PathText.h"

#include <algorithm>
#include <vector>

#include <windows.h>

namespace vpr {

namespace fs = std::filesystem;

namespace {

// Larger requests are split: ReadFile and WriteFile take a 32-bit count.
constexpr std::size_t kChunk = std::size_t{1} << 20;

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
    const auto chunk = static_cast<DWORD>(std::min(size - done, kChunk));
    if (!WriteFile(handle, data + done, chunk, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    done += written;
  }
  return true;
}

// Reads up to size bytes, as many as the file has, into buffer; false on a read error.
bool readFully(HANDLE handle, char* buffer, std::size_t size, std::size_t& done) {
  done = 0;
  while (done < size) {
    DWORD got = 0;
    const auto chunk = static_cast<DWORD>(std::min(size - done, kChunk));
    if (!ReadFile(handle, buffer + done, chunk, &got, nullptr)) return false;
    if (got == 0) break;
    done += got;
  }
  return true;
}

// What a path names: nothing yet, a file on a disk, a folder, or a device or pipe.
enum class Kind { Missing, Regular, Folder, Device };

// Looks at what the path names without reading or changing it; attributes are those of a file
// or folder. False, with the system's error, when the path cannot be examined.
bool examine(const fs::path& path, Kind& kind, DWORD& attributes, std::error_code& error) {
  attributes = INVALID_FILE_ATTRIBUTES;
  // Backup semantics open folders too; asking for attributes only never reads a device.
  FileHandle handle(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.valid()) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
      kind = Kind::Missing;
      return true;
    }
    error = {static_cast<int>(code), std::system_category()};
    return false;
  }
  if (GetFileType(handle.get()) != FILE_TYPE_DISK) {
    kind = Kind::Device;
    return true;
  }
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(handle.get(), &information)) {
    error = lastError();
    return false;
  }
  attributes = information.dwFileAttributes;
  kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Folder : Kind::Regular;
  return true;
}

// Overwrites a file with the bytes, in place. The old contents are read first; when the write
// fails half-way they are written back, so the file is left as it was or complete.
FileContents::WriteResult writeInPlace(const fs::path& target, std::span<const std::uint8_t> bytes,
                                       std::error_code& error) {
  error.clear();
  FileHandle file(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  std::vector<char> old;
  std::size_t got = 0;
  bool ready = file.valid() && GetFileType(file.get()) == FILE_TYPE_DISK && GetFileSizeEx(file.get(), &size);
  if (ready) {
    old.resize(static_cast<std::size_t>(size.QuadPart));
    ready = readFully(file.get(), old.data(), old.size(), got) && got == old.size();
  }
  if (!ready) {
    error = lastError();
    return FileContents::CannotCreate;
  }
  const auto putBytes = [&file](const std::uint8_t* content, std::size_t count) {
    const LARGE_INTEGER start{};
    return SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN) &&
           writeFully(file.get(), content, count) && SetEndOfFile(file.get()) && FlushFileBuffers(file.get());
  };
  if (!putBytes(bytes.data(), bytes.size())) {
    error = lastError();
    putBytes(reinterpret_cast<const std::uint8_t*>(old.data()), old.size());
  }
  if (!file.close() && !error) error = lastError();
  return error ? FileContents::WriteFailed : FileContents::Written;
}

} // namespace

bool FileContents::readRegular(const std::string& path, std::size_t wanted, std::string& bytes,
                               std::error_code& error) {
  FileHandle file(CreateFileW(PathText::toPath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) {
    error = lastError();
    return false;
  }
  // Only files on a disk: a folder cannot be read, and a pipe or device could block forever.
  if (GetFileType(file.get()) != FILE_TYPE_DISK) {
    error = std::make_error_code(std::errc::invalid_argument);
    return false;
  }
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(file.get(), &information)) {
    error = lastError();
    return false;
  }
  if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    error = std::make_error_code(std::errc::is_a_directory);
    return false;
  }
  bytes.assign(wanted, '\0');
  std::size_t done = 0;
  if (!readFully(file.get(), bytes.data(), wanted, done)) {
    error = lastError();
    return false;
  }
  bytes.resize(done);
  return true;
}

FileContents::WriteResult FileContents::replace(const fs::path& target, std::span<const std::uint8_t> bytes,
                                                std::error_code& error) {
  Kind kind = Kind::Missing;
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
  if (!examine(target, kind, attributes, error)) return CannotCreate;
  switch (kind) {
  case Kind::Folder:
    error = std::make_error_code(std::errc::is_a_directory);
    return CannotCreate;
  case Kind::Device:
    // A device such as NUL or a COM port is never written to.
    return NotARegularFile;
  case Kind::Regular:
    // A read-only file stays as it is, as it would when written in place.
    if (attributes & FILE_ATTRIBUTE_READONLY) {
      error = std::make_error_code(std::errc::permission_denied);
      return CannotCreate;
    }
    break;
  case Kind::Missing:
    break;
  }
  if (kind == Kind::Regular) {
    // A file the user may not write, or one another program holds without sharing, stays as it is.
    FileHandle probe(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe.valid()) {
      error = lastError();
      return CannotCreate;
    }
  }

  // A hidden file beside the target, ".<name>.<number>"; a name already taken is skipped.
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  fs::path temporary;
  HANDLE created = INVALID_HANDLE_VALUE;
  const unsigned long long seed =
      GetTickCount64() ^ (static_cast<unsigned long long>(GetCurrentProcessId()) << 32);
  for (unsigned attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = folder / (L"." + target.filename().wstring() + L"." + std::to_wstring(seed + attempt));
    created =
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  FileHandle file(created);
  if (!file.valid()) {
    error = lastError();
    // A folder that takes no new entries while the file itself is writable (a shared file in a
    // protected folder): the file is overwritten in place instead.
    if (kind == Kind::Regular && error.value() == ERROR_ACCESS_DENIED)
      return writeInPlace(target, bytes, error);
    return CannotCreate;
  }

  if (!writeFully(file.get(), bytes.data(), bytes.size()) || !FlushFileBuffers(file.get()))
    error = lastError();
  if (!file.close() && !error) error = lastError();
  // The file that takes the target's place is an ordinary one again, with the target's attributes.
  if (!error &&
      !SetFileAttributesW(temporary.c_str(), kind == Kind::Regular ? attributes : FILE_ATTRIBUTE_NORMAL))
    error = lastError();
  // ReplaceFileW keeps what the system holds about an existing file (its security, creation time
  // and streams); a new file is moved into place.
  if (!error) {
    const bool placed = kind == Kind::Regular
                            ? ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                           REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                            : MoveFileExW(temporary.c_str(), target.c_str(),
                                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!placed) error = lastError();
  }
  if (error) {
    DeleteFileW(temporary.c_str());
    return WriteFailed;
  }
  return Written;
}

} // namespace vpr
