// IniFile's whole-section operations: listing the sections and removing one.
#include "settings/ini_file.h"

#include <utility>

#include "settings/ini_lines.h"

namespace norvel {

std::vector<std::string> IniFile::SectionNames() const {
  const bool cp936 = encoding_ == IniEncoding::kCp936;
  std::vector<std::string> names;
  ini_lines::LineCursor cursor(content_);
  ini_lines::Line line;
  while (cursor.Next(line)) {
    if (const auto name = ini_lines::SectionName(line.text, cp936)) {
      names.push_back(FromWorking(*name));
    }
  }
  return names;
}

bool IniFile::RemoveSection(std::string_view section) {
  const auto section_raw = ToWorking(section);
  if (!section_raw) return false;
  const bool cp936 = encoding_ == IniEncoding::kCp936;
  std::string kept;
  kept.reserve(content_.size());
  bool removing = false, removed = false;
  ini_lines::LineCursor cursor(content_);
  ini_lines::Line line;
  while (cursor.Next(line)) {
    if (const auto name = ini_lines::SectionName(line.text, cp936)) {
      removing = ini_lines::NamesEqual(*name, *section_raw, cp936);
      removed = removed || removing;
    }
    if (!removing) kept.append(content_, line.begin, line.next - line.begin);
  }
  if (removed) content_ = std::move(kept);
  return removed;
}

}  // namespace norvel
