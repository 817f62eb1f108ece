// Saves all six settings over and over until it is killed. Each round's values carry the
// round number and a fixed-length tail, so a reader can tell a whole value from a torn one.
#include <windows.h>

#include <string>

#include "settings/ini.h"
#include "saver_value.h"
#include "toolkit/text_win.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::string file = norvel::NarrowLossy(argv[1]);
  for (unsigned round = 1;; ++round) {
    for (const auto key : norvel::AlarmSettings::kKeys) {
      const std::string value = norvel::SaverValue(key, round);
      if (norvel::WriteIniValue(norvel::AlarmSettings::kSection, key, value, file) !=
          norvel::WriteStatus::kOk) {
        return 1;
      }
    }
  }
}
