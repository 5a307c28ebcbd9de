# Shell functions the benchmark scripts share; source it after setting WORK (a scratch folder)
# and REPEAT (runs per figure).

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Runs a command REPEAT times under /usr/bin/time -v; sets WALL and CPU (medians, seconds),
# WALLS (every run's wall time) and PEAK_MB (the largest maximum resident set size). The times
# come from the shell's own clock, to the millisecond (/usr/bin/time prints hundredths, too
# coarse for the small logs).
TIMEFORMAT='%3R %3U %3S'
measure() {
    : >"$WORK/walls"
    : >"$WORK/cpus"
    local peak=0
    for _ in $(seq "$REPEAT"); do
        { time /usr/bin/time -v -o "$WORK/time.txt" "$@" >"$WORK/stdout.txt" \
            2>"$WORK/stderr.txt"; } 2>"$WORK/shell-time.txt" || {
            echo "failed: $*" >&2
            cat "$WORK/stderr.txt" >&2
            exit 1
        }
        awk '{ print $1 }' "$WORK/shell-time.txt" >>"$WORK/walls"
        awk '{ print $2 + $3 }' "$WORK/shell-time.txt" >>"$WORK/cpus"
        local kib
        kib=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$WORK/time.txt")
        if [ "$kib" -gt "$peak" ]; then peak=$kib; fi
    done
    WALL=$(median <"$WORK/walls")
    CPU=$(median <"$WORK/cpus")
    WALLS=$(tr '\n' ' ' <"$WORK/walls")
    PEAK_MB=$(awk "BEGIN { printf \"%.1f\", $peak / 1024 }")
}

ratio() { awk "BEGIN { printf \"%.2f\", $1 / ($2 > 0 ? $2 : 0.001) }"; }
verdict() { if awk "BEGIN { exit !($1) }"; then echo pass; else echo FAIL; fi; }
