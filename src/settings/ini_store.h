// What the readers and writers of option.ini share: the form a value takes in the file,
// the seven texts of one alarm's section, and the one replace of the file.
#pragma once

#include <string>
#include <string_view>

#include "settings/ini.h"
#include "settings/ini_file.h"

namespace norvel {

// The value as the file holds it and back: the message is escaped in the section of
// alarm 1 and in every "闹钟N" section; every other value is kept as it is.
std::string StoredForm(std::string_view section, std::string_view key, std::string_view value);
std::string ValueForm(std::string_view section, std::string_view key, std::string stored);

// The seven texts of the alarm kept in `section`; empty text for whatever is missing.
AlarmSettings ReadAlarmTexts(const IniFile& ini, std::string_view section);

// Sets the seven texts in `section`, in the order of AlarmSettings::kKeys. Returns the
// key of the first value the file cannot hold (the others may have been set), or empty.
std::string_view SetAlarmTexts(IniFile& ini, std::string_view section, const AlarmSettings& texts);

// Puts the text in place of `file` in one step.
WriteStatus ReplaceWith(const std::string& file, const IniFile& ini);

}  // namespace norvel
