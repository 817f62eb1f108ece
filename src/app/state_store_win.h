// The program's state that outlives a run: the pending put-off and the last power action in
// option.ini's [状态], and the RunOnce value before a restart of its own. Every write is
// checked; a failure goes to `report` with what failed and the system's reason, and what the
// user asked for still happens in this run.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "scheduler/program_state.h"

namespace norvel {

class StateStore {
 public:
  using Report = std::function<void(StateWrite what, const std::string& reason)>;
  explicit StateStore(Report report) : report_(std::move(report)) {}

  // The alarm's put-off kept from an earlier run, as written ("" when none).
  std::string StoredPutOff(int alarm) const;
  void KeepPutOff(int alarm, std::int64_t due);
  void ForgetPutOff(int alarm);

  // The trigger second of the last shut-down or restart carried out, as recorded.
  std::optional<std::int64_t> LastPowerAction() const;
  // Recorded before the request, so that a second that comes back (a clock set back after
  // the restart) never runs it again.
  void RecordPowerAction(std::int64_t occurrence);

  // Back after its own restart: when it would not start at log-in, once through RunOnce;
  // taken back when the restart did not happen.
  void ArmRunOnce();
  void DisarmRunOnce();

 private:
  Report report_;
};

}  // namespace norvel
