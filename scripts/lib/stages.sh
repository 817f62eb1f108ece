# Shared by scripts/test: results and stage times kept in files under $logs, so that stages
# run side by side (in subshells) add to the same totals. Source it after setting $logs.

results=$logs/results.txt

result_pass() { echo "pass $1" >>"$results"; }
result_fail() { echo "fail $1" >>"$results"; }
result_note() { echo "note $*" >>"$results"; }

stage_begin() { date +%s.%N >"$logs/stage-$1.start"; }
stage_end() {  # <name>: the stage's elapsed seconds, added to earlier parts of it
  local start now before
  start=$(cat "$logs/stage-$1.start")
  now=$(date +%s.%N)
  before=$(cat "$logs/stage-$1.secs" 2>/dev/null || echo 0)
  awk -v a="$start" -v b="$now" -v c="$before" 'BEGIN { printf "%.0f\n", c + b - a }' \
    >"$logs/stage-$1.secs"
  rm -f "$logs/stage-$1.start"
}

# The "N% tests passed, F tests failed out of T" lines of a ctest log, and F or T of one.
ctest_summaries() { grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1"; }
failed_of() { sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/'; }
total_of() { sed -E 's/.* failed out of ([0-9]+).*/\1/'; }

count_ctest() {  # <log>: adds the summary of a ctest run (and of its rerun) to the totals
  local summaries total bad
  summaries=$(ctest_summaries "$1")
  if [ -z "$summaries" ]; then
    result_fail 1; result_note "no test summary in $1"; return
  fi
  # All the tests of the first run; the failures of the last (a rerun's, if there was one).
  bad=$(tail -1 <<<"$summaries" | failed_of)
  total=$(head -1 <<<"$summaries" | total_of)
  result_pass $((total - bad)); result_fail "$bad"
  [ "$bad" -eq 0 ] || result_note "failed in $1: $(grep -E '^\s+[0-9]+ - ' "$1" | tr -s ' ' | paste -sd, -)"
}

# A test whose Wine process ended before the test program wrote its first line never ran
# (seen once in many runs: the process gone within 0.03 s, with no output at all). When every
# failure of a ctest run is of that kind, those tests run once more, named in a note; a test
# that wrote anything and failed is never run again.
rerun_unstarted() {  # <build folder> <preset> <log>
  local last=$1/Testing/Temporary/LastTest.log failed unstarted
  failed=$(ctest_summaries "$3" | tail -1 | failed_of)
  [ "${failed:-0}" -gt 0 ] && [ -f "$last" ] || return 0
  unstarted=$(awk '/^[0-9]+\/[0-9]+ Testing: / { name = $0; sub(/^[^:]*: /, "", name) }
    /^Output:$/ { out = 1; lines = 0; next }
    out && /^<end of output>$/ { out = 0; empty = lines == 0; next }
    out && !/^-+$/ { lines++ }
    /^Test Failed\.$/ && empty { print name }' "$last")
  [ -n "$unstarted" ] && [ "$(wc -l <<<"$unstarted")" -eq "$failed" ] || return 0
  result_note "run again, their Wine process ended before they began: $(paste -sd';' <<<"$unstarted")"
  ctest --preset "$2" --rerun-failed >>"$3" 2>&1
}

count_gtest() {  # <log> <exit status>: adds the result of one gtest program run
  local ok bad
  ok=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?.*/\1/p' "$1" | tail -1)
  bad=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below.*/\1/p' "$1" | tail -1)
  ok=${ok:-0}; bad=${bad:-0}
  if [ "$2" -ne 0 ] && [ "$bad" -eq 0 ]; then bad=1; result_note "$1 ended with status $2"; fi
  result_pass "$ok"; result_fail "$bad"
}

print_stage_times() {
  local stage line=""
  for stage in setup builds native fuzz win64 log-in win32 package; do
    [ -f "$logs/stage-$stage.secs" ] && line+="$stage $(cat "$logs/stage-$stage.secs") s, "
  done
  echo "stage times: ${line%, } (after the builds, native with fuzz, win64 with log-in, win32 and"
  echo "  package ran side by side)"
}

# The ten slowest test cases of the ctest and gtest logs in <folder>.
print_slowest_tests() {  # <folder> <count>
  echo "slowest tests:"
  {
    for f in "$1"/native.log "$1"/win64.log "$1"/win32.log; do
      [ -f "$f" ] || continue
      sed -nE "s/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .* ([0-9.]+) sec\$/\2 \1 ($(basename "$f" .log))/p" "$f"
    done
    for f in "$1"/win32-*.log; do
      [ -f "$f" ] || continue
      sed -nE 's/^\[ +(OK|FAILED) +\] ([^ ]+) \(([0-9]+) ms\)$/\3 \2 (win32, one process)/p' "$f" |
        awk '{ $1 = sprintf("%.2f", $1 / 1000); print }'
    done
  } | sort -rn | head -"$2" | awk '{ t = $1; $1 = ""; printf "  %7.1f s %s\n", t, $0 }'
}

print_results() {
  local passed failed
  passed=$(awk '$1 == "pass" { n += $2 } END { print n + 0 }' "$results" 2>/dev/null || echo 0)
  failed=$(awk '$1 == "fail" { n += $2 } END { print n + 0 }' "$results" 2>/dev/null || echo 0)
  sed -n 's/^note /note: /p' "$results" 2>/dev/null
  echo "logs: $logs"
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
