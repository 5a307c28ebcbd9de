#!/usr/bin/env bash
# Writes bench/REPORT.md: for generated logs of 1,000, 20,000 and 200,000 QSOs
#  - each sort order: the read phase, the write phase (sort and output), the whole velmark-batch
#    run, its peak memory (/usr/bin/time -v), the machine's floor for the same bytes and the
#    ratio run / floor;
#  - the callsign sort alone;
#  - loading DXCC.LST and callsign lookups a second;
#  - the Cabrillo export (velmark-batch translate to CQ-WPX-CW.FRM);
#  - QSL labels of the largest log drawn into a PDF (bench/labels_benchmark.sh), against the
#    same sort written as the CSV mail-merge file;
#  - instruction counts of whole runs (valgrind --tool=callgrind), which other work on the
#    machine does not disturb, for 20,000 QSOs.
# Then appends bench/REPORT-NOTES.md (what was measured before and changed, by hand).
#
#   bench/run_benchmarks.sh --report   # or bench/report.sh
#
# BENCH_BUILD_DIR (default build-bench), BENCH_SIZES (default "1000 20000 200000"), BENCH_REPEAT
# (default 5), BENCH_CALLGRIND (default 1 when valgrind is there), JOBS (default 2).
# Times are medians of BENCH_REPEAT runs with a warm page cache, wall clock and CPU (user +
# system); on a shared machine the CPU time and the instruction counts are the steadier.
set -euo pipefail

cd "$(dirname "$0")/.."
BUILD=${BENCH_BUILD_DIR:-build-bench}
SIZES=${BENCH_SIZES:-1000 20000 200000}
REPEAT=${BENCH_REPEAT:-5}
JOBS=${JOBS:-2}
CALLGRIND=${BENCH_CALLGRIND:-$(command -v valgrind >/dev/null && echo 1 || echo 0)}
WORK=$BUILD/bench-report
REPORT=bench/REPORT.md
NOTES=bench/REPORT-NOTES.md

if [ ! -x /usr/bin/time ]; then
    echo "Installing GNU time (/usr/bin/time) ..."
    if [ "$(id -u)" -eq 0 ]; then apt-get install -y time; else sudo apt-get install -y time; fi
fi

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMARK_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j "$JOBS" --target velmark-batch velmark-generate-log \
    velmark-bench-floor velmark-bench-sort velmark-bench-phases velmark-bench-dxcc >/dev/null

BATCH=$BUILD/app/batch/velmark-batch
rm -rf "$WORK"
mkdir -p "$WORK/out"
cp data/DXCC.LST "$WORK/"
cp -r data/CABRILLO_FORM "$WORK/"

source bench/measure.sh

# Medians of the phase times velmark-bench-phases prints over REPEAT runs; sets LOAD_CPU,
# READ_WALL, READ_CPU, WRITE_WALL, WRITE_CPU.
measure_phases() {
    : >"$WORK/phases"
    for _ in $(seq "$REPEAT"); do
        "$BUILD/bench/velmark-bench-phases" "$@" >>"$WORK/phases"
    done
    LOAD_CPU=$(awk '$2 == "dxcc_load" { print $4 }' "$WORK/phases" | median)
    READ_WALL=$(awk '$2 == "read" { print $3 }' "$WORK/phases" | median)
    READ_CPU=$(awk '$2 == "read" { print $4 }' "$WORK/phases" | median)
    WRITE_WALL=$(awk '$2 == "write" { print $3 }' "$WORK/phases" | median)
    WRITE_CPU=$(awk '$2 == "write" { print $4 }' "$WORK/phases" | median)
}
fmt() { awk "BEGIN { printf \"%.3f\", $1 }"; }

# The arguments of velmark-batch for a sort run: ORDER LOG OUTPUT.
sort_arguments() {
    SORT_ARGUMENTS=(--start-dir "$WORK" --lang en --input-type adif --input-date YYYYMMDD
        --output-type csv --output-date as-input --order "$1" --per-card 3 --no-divide
        sort "$2" "$3")
}

{
    echo "# VELMARK benchmarks"
    echo
    echo "Written by \`bench/run_benchmarks.sh --report\` on $(date -u '+%Y-%m-%d %H:%M UTC')," \
        "commit $(git rev-parse --short HEAD 2>/dev/null || echo unknown)$(git diff --quiet HEAD -- . 2>/dev/null || echo ' (with local changes)')."
    echo "Machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)," \
        "load average at the start $(cut -d' ' -f1-3 /proc/loadavg)."
    echo
    echo "Medians of $REPEAT runs, warm page cache. \`wall\` is the wall clock, \`cpu\` user + system"
    echo "time; the machine is shared, so the CPU times and the instruction counts are the ones to"
    echo "compare between reports. The floor is the file work a run cannot avoid, done with plain"
    echo "C library I/O (\`velmark-bench-floor\`): reading the input, writing and reading back"
    echo "2052 bytes a QSO (TYM.LOG), writing an output of the run's size."
    echo
    echo "Targets: whole run within 3x the floor, callsign sort of 200,000 QSOs under 0.1 s,"
    echo "peak memory under 64 MB."
    echo
    echo "## Sort runs"
    echo
    echo "Sort run: ADIF in, CSV out, 3 QSOs a card, not divided. The phases come from"
    echo "\`velmark-bench-phases\`, which makes the same calls as velmark-batch and writes the same"
    echo "bytes (the script checks): \`load\` loads DXCC.LST and writes LISTA.UPO, \`read\` reads the"
    echo "log into TYM.LOG and the index (\`ReadInputLog\`), \`write\` sorts and writes TYM.LOG in"
    echo "sorted order to the output (\`WriteRun\`). \`run\` is the whole velmark-batch process."
    echo
    echo "| QSOs | order | load cpu | read wall | read cpu | write wall | write cpu | run wall | run cpu | floor wall | floor cpu | ratio wall | ratio cpu | peak MB | verdict |"
    echo "|---:|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|"
} >"$REPORT"

for qsos in $SIZES; do
    log=$WORK/log-$qsos.adi
    "$BUILD/bench/velmark-generate-log" "$qsos" 1 >"$log"
    for order in dxcc adif call; do
        output=$WORK/out/sorted-$order.csv
        sort_arguments "$order" "$log" "$output"
        measure "$BATCH" "${SORT_ARGUMENTS[@]}"
        run_wall=$WALL run_cpu=$CPU run_peak=$PEAK_MB
        measure_phases "$WORK" "$log" "$order" "$WORK/out/phases-$order.csv"
        cmp -s "$output" "$WORK/out/phases-$order.csv" || {
            echo "velmark-bench-phases wrote other bytes than velmark-batch ($order, $qsos)" >&2
            exit 1
        }
        measure "$BUILD/bench/velmark-bench-floor" "$log" "$qsos" "$(stat -c %s "$output")" "$WORK"
        wall_ratio=$(ratio "$run_wall" "$WALL")
        cpu_ratio=$(ratio "$run_cpu" "$CPU")
        echo "| $qsos | $order | $(fmt "$LOAD_CPU") | $(fmt "$READ_WALL") | $(fmt "$READ_CPU")" \
            "| $(fmt "$WRITE_WALL")" \
            "| $(fmt "$WRITE_CPU") | $(fmt "$run_wall") | $(fmt "$run_cpu") | $(fmt "$WALL")" \
            "| $(fmt "$CPU") | $wall_ratio | $cpu_ratio | $run_peak" \
            "| ratio $(verdict "$wall_ratio <= 3"), cpu ratio $(verdict "$cpu_ratio <= 3")," \
            "memory $(verdict "$run_peak < 64") |" >>"$REPORT"
        echo "sort $qsos $order: run $run_wall s (cpu $run_cpu), floor $WALL s (cpu $CPU)" >&2
        rm -f "$output" "$WORK/out/phases-$order.csv"
    done
done

{
    echo
    echo "At 1,000 QSOs the floor is a few milliseconds, while every run has a fixed cost the floor"
    echo "leaves out: starting the process, loading DXCC.LST and writing LISTA.UPO (see the DXCC"
    echo "list below), so the ratio there measures that fixed cost, not the work per QSO."
    echo
    echo "## Callsign sort alone"
    echo
    echo "\`velmark-bench-sort\`: SortIndex in callsign order on the index of the generated log, by"
    echo "the station's callsign and by the QSL manager's (best of 1 run each)."
    echo
    echo "| QSOs | by callsign s | by QSL manager s | verdict (200,000: < 0.1 s) |"
    echo "|---:|---:|---:|---|"
} >>"$REPORT"
for qsos in $SIZES; do
    "$BUILD/bench/velmark-bench-sort" "$WORK/log-$qsos.adi" >"$WORK/sort.txt"
    by_call=$(awk '/^by_call/ { print $2 }' "$WORK/sort.txt")
    by_manager=$(awk '/^by_manager/ { print $2 }' "$WORK/sort.txt")
    echo "| $qsos | $by_call | $by_manager | $(verdict "$by_call < 0.1 && $by_manager < 0.1") |" \
        >>"$REPORT"
done

largest=$(echo "$SIZES" | tr ' ' '\n' | sort -n | tail -1)
"$BUILD/bench/velmark-bench-dxcc" "$WORK" "$WORK/log-$largest.adi" >"$WORK/dxcc.txt"
{
    echo
    echo "## DXCC list"
    echo
    echo "\`velmark-bench-dxcc\` over data/DXCC.LST ($(awk '/^prefixes/ { print $2 }' "$WORK/dxcc.txt")" \
        "prefix entries): loading it (best of 5) and resolving the CALL of every QSO of the"
    echo "$largest-QSO log on its date, in log order."
    echo
    echo "| load s | lookups | found | lookup s | lookups a second |"
    echo "|---:|---:|---:|---:|---:|"
    echo "| $(awk '/^load/ { print $2 }' "$WORK/dxcc.txt") | $(awk '/^lookups / { print $2 }' "$WORK/dxcc.txt")" \
        "| $(awk '/^found/ { print $2 }' "$WORK/dxcc.txt") | $(awk '/^lookup_seconds/ { print $2 }' "$WORK/dxcc.txt")" \
        "| $(awk '/^lookups_per_second/ { print $2 }' "$WORK/dxcc.txt") |"
    echo
    echo "## Cabrillo export"
    echo
    echo "\`velmark-batch translate --output-type cbr --template CQ-WPX-CW.FRM\`, ADIF in: the whole"
    echo "run (reading the log into TYM.LOG, then the export)."
    echo
    echo "| QSOs | wall | cpu | peak MB |"
    echo "|---:|---:|---:|---:|"
} >>"$REPORT"
for qsos in $SIZES; do
    measure "$BATCH" --start-dir "$WORK" --lang en --input-type adif --input-date YYYYMMDD \
        --output-type cbr --template CQ-WPX-CW.FRM translate "$WORK/log-$qsos.adi" \
        "$WORK/out/export.cbr"
    echo "| $qsos | $(fmt "$WALL") | $(fmt "$CPU") | $PEAK_MB |" >>"$REPORT"
    rm -f "$WORK/out/export.cbr"
done

# QSL labels of the largest log: the PDF against the same sort as a CSV mail-merge file.
BENCH_BUILD_DIR=$BUILD BENCH_QSOS=$largest BENCH_REPEAT=$REPEAT BENCH_SKIP_BUILD=1 \
    bench/labels_benchmark.sh --markdown >>"$REPORT"

if [ "$CALLGRIND" = 1 ]; then
    {
        echo
        echo "## Instruction counts"
        echo
        echo "\`valgrind --tool=callgrind\`, whole velmark-batch sort run of 20,000 QSOs (the same"
        echo "generated log), instructions executed (Ir)."
        echo
        echo "| order | instructions | per QSO |"
        echo "|---|---:|---:|"
    } >>"$REPORT"
    "$BUILD/bench/velmark-generate-log" 20000 1 >"$WORK/log-cg.adi"
    for order in dxcc adif call; do
        sort_arguments "$order" "$WORK/log-cg.adi" "$WORK/out/cg.csv"
        valgrind --tool=callgrind --callgrind-out-file="$WORK/callgrind.out" \
            "$BATCH" "${SORT_ARGUMENTS[@]}" >/dev/null 2>"$WORK/callgrind.txt"
        ir=$(awk '/^summary:/ { print $2 }' "$WORK/callgrind.out")
        echo "| $order | $ir | $(awk "BEGIN { printf \"%.0f\", $ir / 20000 }") |" >>"$REPORT"
        rm -f "$WORK/out/cg.csv"
    done
fi

if [ -f "$NOTES" ]; then
    echo >>"$REPORT"
    cat "$NOTES" >>"$REPORT"
fi
echo "wrote $REPORT"
