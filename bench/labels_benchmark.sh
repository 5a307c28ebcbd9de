#!/usr/bin/env bash
# QSL labels of a generated log of 200,000 QSOs, 3 QSOs a card, on Avery L7160 sheets, written
# as a PDF by velmark-batch labels, against the same sort written as the CSV mail-merge file by
# velmark-batch sort: wall and CPU time (medians), peak memory (/usr/bin/time -v), the labels
# and pages of the PDF. Targets (reported, the script does not fail on them): the labels run
# within 5x the CSV run, peak memory under 256 MB (the pages are written as they are drawn).
#
#   bench/labels_benchmark.sh              # a plain table
#   bench/labels_benchmark.sh --markdown   # the section of bench/REPORT.md (report.sh)
#
# BENCH_BUILD_DIR (default build-bench), BENCH_QSOS (default 200000), BENCH_REPEAT (default 5),
# JOBS (default 2); BENCH_SKIP_BUILD=1 when the build is there already.
set -euo pipefail

cd "$(dirname "$0")/.."
BUILD=${BENCH_BUILD_DIR:-build-bench}
QSOS=${BENCH_QSOS:-200000}
REPEAT=${BENCH_REPEAT:-5}
JOBS=${JOBS:-2}
WORK=$BUILD/bench-labels
MARKDOWN=0
[ "${1:-}" = "--markdown" ] && MARKDOWN=1

if [ ! -x /usr/bin/time ]; then
    echo "Installing GNU time (/usr/bin/time) ..." >&2
    if [ "$(id -u)" -eq 0 ]; then apt-get install -y time >&2; else sudo apt-get install -y time >&2; fi
fi
if [ "${BENCH_SKIP_BUILD:-0}" != 1 ]; then
    cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMARK_BUILD_TESTS=OFF >/dev/null
    cmake --build "$BUILD" -j "$JOBS" --target velmark-batch velmark-generate-log >/dev/null
fi

BATCH=$BUILD/app/batch/velmark-batch
rm -rf "$WORK"
mkdir -p "$WORK/out"
cp data/DXCC.LST "$WORK/"
cp -r data/LABEL_SHEETS "$WORK/"
LOG=$WORK/log.adi
"$BUILD/bench/velmark-generate-log" "$QSOS" 1 >"$LOG"

source bench/measure.sh

COMMON=(--start-dir "$WORK" --lang en --input-type adif --input-date YYYYMMDD --order dxcc
    --per-card 3)
measure "$BATCH" "${COMMON[@]}" --output-type csv --output-date as-input --no-divide \
    sort "$LOG" "$WORK/out/cards.csv"
csv_wall=$WALL csv_cpu=$CPU csv_peak=$PEAK_MB csv_walls=$WALLS
measure "$BATCH" "${COMMON[@]}" --sheet L7160 labels "$LOG" "$WORK/out/labels.pdf"
labels=$(awk -F'= ' '/^Labels with QSOs/ { print $2 }' "$WORK/stdout.txt")
pages=$(awk -F'= ' '/^Pages/ { print $2 }' "$WORK/stdout.txt")
pdf_mb=$(awk "BEGIN { printf \"%.1f\", $(stat -c %s "$WORK/out/labels.pdf") / 1048576 }")
wall_ratio=$(ratio "$WALL" "$csv_wall")
cpu_ratio=$(ratio "$CPU" "$csv_cpu")
verdicts="ratio $(verdict "$wall_ratio <= 5"), cpu ratio $(verdict "$cpu_ratio <= 5"), memory $(verdict "$PEAK_MB < 256")"

if [ "$MARKDOWN" = 1 ]; then
    echo
    echo "## QSL labels"
    echo
    echo "\`velmark-batch labels\` of the $QSOS-QSO log, DXCC-list order, 3 QSOs a card, on"
    echo "Avery L7160 sheets (21 labels a page), against the same sort written as the CSV"
    echo "mail-merge file (\`sort\`, as above). Medians of $REPEAT runs; every run's wall time in"
    echo "the last column. Targets: within 5x the CSV run, peak memory under 256 MB."
    echo
    echo "| run | wall | cpu | peak MB | labels | pages | PDF MB | wall of each run |"
    echo "|---|---:|---:|---:|---:|---:|---:|---|"
    echo "| sort to CSV | $csv_wall | $csv_cpu | $csv_peak | | | | $csv_walls|"
    echo "| labels to PDF | $WALL | $CPU | $PEAK_MB | $labels | $pages | $pdf_mb | $WALLS|"
    echo
    echo "Ratio labels / CSV: wall $wall_ratio, cpu $cpu_ratio ($verdicts)."
else
    echo "QSL labels of $QSOS QSOs (L7160, 3 a card), medians of $REPEAT runs"
    printf '%-14s %8s %8s %8s  %s\n' run wall cpu peak_MB "walls"
    printf '%-14s %8s %8s %8s  %s\n' "sort to CSV" "$csv_wall" "$csv_cpu" "$csv_peak" "$csv_walls"
    printf '%-14s %8s %8s %8s  %s\n' "labels to PDF" "$WALL" "$CPU" "$PEAK_MB" "$WALLS"
    echo "labels $labels, pages $pages, PDF $pdf_mb MB"
    echo "ratio labels / CSV: wall $wall_ratio, cpu $cpu_ratio: $verdicts"
fi
