#include "app/state_store_win.h"

#include <windows.h>

#include "app/start_at_login_win.h"
#include "settings/app_path_win.h"
#include "settings/alarms.h"
#include "settings/ini.h"

namespace norvel {
namespace {

std::string ReasonOf(WriteStatus status, DWORD error) {
  switch (status) {
    case WriteStatus::kReadOnly:
      return "option.ini 是只读的";
    case WriteStatus::kUnrepresentable:
      return "内容无法用 GBK 保存";
    case WriteStatus::kIoError:
      return "无法写入 option.ini (系统错误 " + std::to_string(error) + ")";
    case WriteStatus::kOk:
      break;
  }
  return {};
}

void CheckIni(const StateStore::Report& report, StateWrite what, WriteStatus status) {
  const DWORD error = GetLastError();
  if (status != WriteStatus::kOk && report) report(what, ReasonOf(status, error));
}

void CheckRegistry(const StateStore::Report& report, StateWrite what, long status) {
  if (status != ERROR_SUCCESS && report) {
    report(what, "注册表拒绝写入 (系统错误 " + std::to_string(status) + ")");
  }
}

}  // namespace

std::string StateStore::StoredPutOff(int alarm) const {
  return ReadIniValue(ProgramState::kSection, PutOffKey(alarm), AppSettingsFile());
}

void StateStore::KeepPutOff(int alarm, std::int64_t due) {
  CheckIni(
      report_, StateWrite::kPutOff,
      WriteIniValue(ProgramState::kSection, PutOffKey(alarm), StampText(due), AppSettingsFile()));
}

void StateStore::ForgetPutOff(int alarm) {
  CheckIni(report_, StateWrite::kPutOffRemoved,
           RemoveIniValue(ProgramState::kSection, PutOffKey(alarm), AppSettingsFile()));
}

std::optional<std::int64_t> StateStore::LastPowerAction() const {
  return ParseStamp(
      ReadIniValue(ProgramState::kSection, ProgramState::kLastPowerAction, AppSettingsFile()));
}

void StateStore::RecordPowerAction(std::int64_t occurrence) {
  CheckIni(report_, StateWrite::kLastPowerAction,
           WriteIniValue(ProgramState::kSection, ProgramState::kLastPowerAction,
                         StampText(occurrence), AppSettingsFile()));
}

void StateStore::ArmRunOnce() {
  CheckRegistry(report_, StateWrite::kRunOnce, ArmRunOnceForRestart());
}

void StateStore::DisarmRunOnce() {
  CheckRegistry(report_, StateWrite::kRunOnceRemoved, norvel::DisarmRunOnce());
}

}  // namespace norvel
