#include "app/holidays_win.h"

#include <windows.h>

#include "scheduler/calendar/holiday_file.h"
#include "toolkit/file_io.h"
#include "toolkit/text_win.h"

namespace norvel {

HolidaysFile::HolidaysFile(std::string path)
    : path_(std::move(path)), calendar_(std::make_unique<HolidayCalendar>()) {}

HolidaysFile::Stamp HolidaysFile::Look() const {
  const std::wstring wide = Widen(path_).value_or(L"");
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (wide.empty() || !GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return {};
  }
  return {true, (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
          (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
              data.ftLastWriteTime.dwLowDateTime};
}

bool HolidaysFile::Refresh() {
  const Stamp now = Look();
  if (!watch_.ReadWanted(now)) return false;
  const FileContent content = now.exists ? ReadWholeFile(path_) : FileContent{ReadStatus::kOk, {}};
  watch_.Read(now, content.status == ReadStatus::kOk);
  if (content.status != ReadStatus::kOk) return false;  // kept as it was; tried again later
  HolidayFile parsed = ParseHolidayFile(content.bytes);
  calendar_ = std::make_unique<HolidayCalendar>(parsed.overrides);
  bad_lines_ = std::move(parsed.bad_lines);
  return true;
}

}  // namespace norvel
