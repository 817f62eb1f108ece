// The settings file's text form: "[section]" lines and "key=value" lines, as the Windows
// profile functions read and write them. Names match without regard to ASCII letter case,
// blanks around names and values are ignored, a value enclosed in matching quotes loses
// them on read, and the first section and key of a name win. A write changes only the
// line of its key (or adds one) and keeps every other byte of the file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/codepage.h"

namespace norvel {

// How the file's bytes encode its text. Files that the program creates are code page 936;
// a file that a text editor saved as UTF-8 or UTF-16 is written back in the same form.
enum class IniEncoding { kCp936, kUtf8, kUtf8Bom, kUtf16LeBom };

class IniFile {
 public:
  IniFile(std::string_view file_bytes, const Cp936Codec& codec);

  // The value of `key` in `section` (UTF-8), or nullopt when either is missing.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // Sets the value, replacing the key's line in place or adding the key (and the section).
  // False, and nothing changed, when the names or the value cannot be written in the
  // file's encoding or the value holds a line break or NUL that would break the line form.
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  // Removes the key's line (the first of that name). False when nothing was there.
  bool Remove(std::string_view section, std::string_view key);

  // The names of the "[name]" lines (UTF-8, blanks trimmed), in file order, one for each
  // such line: a name that appears twice is listed twice.
  std::vector<std::string> SectionNames() const;

  // Removes every section of the name: its "[name]" line and all lines after it up to the
  // next section line. Removing only the first would let a later one of the name take its
  // place. Every other byte is kept. False when there was no such section.
  bool RemoveSection(std::string_view section);

  // The whole file in its own encoding.
  std::string Bytes() const;

  IniEncoding encoding() const { return encoding_; }

 private:
  struct Location;
  Location Find(std::string_view section_raw, std::string_view key_raw) const;
  std::optional<std::string> ToWorking(std::string_view utf8) const;
  std::string FromWorking(std::string_view working) const;

  // The text in the form it is searched in: code page 936 bytes, or UTF-8 for the others.
  std::string content_;
  IniEncoding encoding_;
  const Cp936Codec& codec_;
};

}  // namespace norvel
