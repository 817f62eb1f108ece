// Windows file access with the W functions, so that any folder name works.
#include <windows.h>

#include "toolkit/file_io.h"
#include "toolkit/handle_win.h"
#include "toolkit/text_win.h"

namespace norvel {

FileContent ReadWholeFile(const std::string& path) {
  FileContent result;
  const auto wide = Widen(path);
  if (!wide) {
    result.status = ReadStatus::kError;
    return result;
  }
  UniqueFile file(CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    result.status = (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                        ? ReadStatus::kMissing
                        : ReadStatus::kError;
    return result;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > result.bytes.max_size()) {
    result.status = ReadStatus::kError;
    return result;
  }
  result.bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  char buffer[65536];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr)) {
      result.status = ReadStatus::kError;
      result.bytes.clear();
      return result;
    }
    if (n == 0) break;
    result.bytes.append(buffer, n);
  }
  result.status = ReadStatus::kOk;
  return result;
}

ReplaceStatus ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
  const auto wide = Widen(path);
  if (!wide) return ReplaceStatus::kError;
  const DWORD attributes = GetFileAttributesW(wide->c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ReplaceStatus::kError;
    if (attributes & FILE_ATTRIBUTE_READONLY) return ReplaceStatus::kReadOnly;
  }
  const std::wstring temp = *wide + L".tmp";
  {
    UniqueFile file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ReplaceStatus::kError;
    bool ok = true;
    while (ok && !bytes.empty()) {
      const DWORD chunk = static_cast<DWORD>(bytes.size() > (1u << 30) ? (1u << 30) : bytes.size());
      DWORD n = 0;
      ok = WriteFile(file.get(), bytes.data(), chunk, &n, nullptr) && n > 0;
      bytes.remove_prefix(n);
    }
    if (!ok || !FlushFileBuffers(file.get())) {
      file.reset();
      DeleteFileW(temp.c_str());
      return ReplaceStatus::kError;
    }
  }
  if (!MoveFileExW(temp.c_str(), wide->c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temp.c_str());
    return ReplaceStatus::kError;
  }
  return ReplaceStatus::kOk;
}

}  // namespace norvel
