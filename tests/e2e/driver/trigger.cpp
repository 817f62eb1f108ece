#include "driver/trigger.h"

#include <cstdio>

#include "app/form1_layout.h"
#include "driver/timing.h"
#include "driver/ui.h"

namespace norvel::e2e {

std::string StampIn(int seconds) {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  FILETIME ft{};
  SystemTimeToFileTime(&st, &ft);
  ULARGE_INTEGER t{{ft.dwLowDateTime, ft.dwHighDateTime}};
  t.QuadPart += static_cast<ULONGLONG>(10000000ll * seconds);
  ft = {t.LowPart, t.HighPart};
  SYSTEMTIME when{};
  FileTimeToSystemTime(&ft, &when);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", when.wYear, when.wMonth,
                when.wDay, when.wHour, when.wMinute, when.wSecond);
  return text;
}

Trigger TriggerIn(int seconds) {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  FILETIME ft{};
  SystemTimeToFileTime(&st, &ft);
  ULARGE_INTEGER t{{ft.dwLowDateTime, ft.dwHighDateTime}};
  t.QuadPart += 10000000ull * static_cast<unsigned>(seconds);
  ft = {t.LowPart, t.HighPart};
  SYSTEMTIME when{};
  FileTimeToSystemTime(&ft, &when);
  char date[16];
  std::snprintf(date, sizeof date, "%04u-%02u-%02u", when.wYear, when.wMonth, when.wDay);
  return {std::to_string(when.wHour),
          std::to_string(when.wMinute),
          std::to_string(when.wSecond),
          when.wSecond,
          GetTickCount64() + 1000ull * static_cast<unsigned>(seconds) - st.wMilliseconds,
          date};
}

std::string ClockText(const Trigger& trigger) {
  const auto two = [](const std::string& digits) {
    return digits.size() < 2 ? "0" + digits : digits;
  };
  return two(trigger.hour) + ":" + two(trigger.minute) + ":" + two(trigger.second);
}

void SetTrigger(HWND form1, const Trigger& trigger, const std::string& action) {
  SetTextOf(GetDlgItem(form1, form1::kCombo4), action);
  SetTextOf(GetDlgItem(form1, form1::kCombo1), trigger.hour);
  SetTextOf(GetDlgItem(form1, form1::kCombo2), trigger.minute);
  SetTextOf(GetDlgItem(form1, form1::kCombo3), trigger.second);
}

void WaitPastTrigger(const Trigger& trigger) {
  // However far ahead the trigger is: a wait that gave up before its second would let the
  // caller set the next trigger to the same second.
  const ULONGLONG past = trigger.at_tick + 1100;
  const ULONGLONG now = GetTickCount64();
  WaitUntil([&] { return GetTickCount64() > past; },
            static_cast<DWORD>(past > now ? past - now + 2000 : 2000));
}

}  // namespace norvel::e2e
