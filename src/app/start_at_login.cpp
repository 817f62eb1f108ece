#include "app/start_at_login.h"

#include <algorithm>

namespace norvel {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// ASCII letters folded to lower case and "/" to "\", the differences Windows ignores in a
// path that a byte-wise comparison would see.
char FoldPathChar(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  return c == '/' ? '\\' : c;
}

bool EqualFolded(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return FoldPathChar(x) == FoldPathChar(y); });
}

// The position just after the first ".exe" that ends the text or is followed by a blank.
std::string_view::size_type EndOfExeName(std::string_view text) {
  constexpr std::string_view kExe = ".exe";
  for (std::string_view::size_type i = 0; i + kExe.size() <= text.size(); ++i) {
    const auto end = i + kExe.size();
    if (EqualFolded(text.substr(i, kExe.size()), kExe) &&
        (end == text.size() || IsBlank(text[end]))) {
      return end;
    }
  }
  return std::string_view::npos;
}

std::string_view FileNameOf(std::string_view path) {
  const auto cut = path.find_last_of("\\/");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

}  // namespace

std::string RunValuePath(std::string_view value) {
  const auto start = std::find_if_not(value.begin(), value.end(), IsBlank) - value.begin();
  value.remove_prefix(static_cast<std::string_view::size_type>(start));
  if (!value.empty() && value.front() == '"') {
    const auto close = value.find('"', 1);
    if (close == std::string_view::npos) return {};
    return std::string(value.substr(1, close - 1));
  }
  auto end = EndOfExeName(value);
  if (end == std::string_view::npos) {
    end = static_cast<std::string_view::size_type>(
        std::find_if(value.begin(), value.end(), IsBlank) - value.begin());
  }
  return std::string(value.substr(0, end));
}

bool SamePath(std::string_view a, std::string_view b) {
  return EqualFolded(a, b);
}

bool RunValueNames(std::string_view value, std::string_view exe) {
  const std::string named = RunValuePath(value);
  return !named.empty() && SamePath(named, exe);
}

bool DisabledAtLogin(const std::optional<std::vector<std::uint8_t>>& approved) {
  return approved && !approved->empty() && (approved->front() & 1) != 0;
}

bool StartAtLoginChecked(const std::optional<std::string>& run_value,
                         const std::optional<std::vector<std::uint8_t>>& approved,
                         std::string_view exe) {
  return run_value && RunValueNames(*run_value, exe) && !DisabledAtLogin(approved);
}

std::string RunValueFor(std::string_view exe) {
  std::string value = "\"";
  value.append(exe).append("\" ").append(kTrayArgument);
  return value;
}

RunValueRepair DecideRunValueRepair(std::string_view value, std::string_view exe,
                                    bool named_exists) {
  const std::string named = RunValuePath(value);
  const std::string_view name = FileNameOf(named);
  const bool has_folder = name.size() < named.size();
  const bool moved_copy = has_folder && !named_exists && !SamePath(named, exe) && !name.empty() &&
                          SamePath(name, FileNameOf(exe));
  return moved_copy ? RunValueRepair::kRewrite : RunValueRepair::kLeave;
}

bool HasTrayArgument(const std::vector<std::string>& arguments) {
  return std::any_of(arguments.begin(), arguments.end(), [](const std::string& argument) {
    return argument.size() == kTrayArgument.size() && (argument[0] == '/' || argument[0] == '-') &&
           EqualFolded(std::string_view(argument).substr(1), kTrayArgument.substr(1));
  });
}

}  // namespace norvel
