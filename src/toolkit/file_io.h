// Whole-file reads and crash-safe whole-file replacement. Paths are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace norvel {

enum class ReadStatus { kOk, kMissing, kError };

struct FileContent {
  ReadStatus status = ReadStatus::kMissing;
  std::string bytes;
};

FileContent ReadWholeFile(const std::string& path);

enum class ReplaceStatus { kOk, kReadOnly, kError };

// Writes `bytes` to a temporary file in the same folder, flushes it to the disk and puts it
// in place of `path` in one step, so that a crash or power cut leaves either the old file or
// the new one. A read-only file is not replaced. On failure the old file is untouched.
ReplaceStatus ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// The folder part of a path, without the trailing separator ("" when there is none).
std::string_view DirectoryOf(std::string_view path);

}  // namespace norvel
