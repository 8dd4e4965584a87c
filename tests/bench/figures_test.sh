#!/usr/bin/env bash
# How bench/figures reads the results of q8bench, from JSON files written as Google Benchmark
# writes them: a repeated benchmark gives the median of its runs (never one of the aggregate rows
# Google Benchmark adds under its name, nor a figure left in another time unit), an
# aggregates-only report its median row; a goal without a figure fails a run unless benchmarks
# were filtered out, and a failed benchmark fails it; the output names each.
#   figures_test.sh SOURCE_DIR
source_dir=$1
here=$source_dir/tests/bench
. "$source_dir/tests/support/program-test.sh"

read_figures() {  # read_figures FIXTURE [--filtered]: the output in $out, the exit status in $status
  out=$("$source_dir/bench/figures" "$here/$1" "$here/goals.tsv" "${@:2}" 2>&1)
  status=$?
}
says() { grep -qE "$1" <<<"$out"; }

read_figures repeated.json
check "repeated: the median of three runs in two time units (21 ms), not the last aggregate row" \
  says "the window shown +21 .*MISSES the goal, median of 3 runs"
check "repeated: a counter's figure is the median of its runs" \
  says "heap per byte of the file +1.5 .*meets the goal, median of 3 runs"
check "repeated: a figure that misses its goal fails the run, named" \
  test "$status" -eq 1 -a -n "$(grep -E '^  BM_Show \(21, goal 16\)$' <<<"$out")"
check "repeated: the floor is met and not shown as a figure of its own" \
  test -z "$(grep floor_ms <<<"$out")" -a -n "$(grep -E 'read with the real delays +540 .* 40\.0 ms' <<<"$out")"

read_figures aggregates-only.json --filtered
check "aggregates only: the median row is the figure (12 ms, not the mean or the cv)" \
  says "the window shown +12 .*meets the goal, median of 3 runs \(aggregate\)"
check "aggregates only, filtered: goals without a figure are not measured and fail nothing" \
  test "$status" -eq 0 -a "$(grep -c 'NOT MEASURED' <<<"$out")" -eq 2

read_figures aggregates-only.json
check "unfiltered: goals without a figure fail the run" test "$status" -eq 1
check "unfiltered: each goal without a figure is named" says "^  BM_Read$"
check "unfiltered: ... a counter too" says "^  BM_Parse\.heap_per_file_byte$"

read_figures one-run.json --filtered
check "one run: its figure, said to be one run" says "the window shown +3.5 .*meets the goal, one run"
check "a failed benchmark fails the run, named" \
  test "$status" -eq 1 -a -n "$(grep -E '^  BM_Read \(failed\)$' <<<"$out")"

# A filter that matched no benchmark (a typo): q8bench exits 0 and leaves an empty results file.
# Nothing was measured at all, which no filter asks for.
read_figures nothing.json --filtered
check "a run that measured nothing fails, filtered or not" test "$status" -ne 0

[ "$failures" -eq 0 ] || echo "--- the last output:"$'\n'"$out"
finish
