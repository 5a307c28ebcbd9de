#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one, one after another, for a number of
# seconds on its seed corpus (fuzz/corpus/<target>); stops at the first crash, hang, leak or
# sanitizer report, whose input is kept in the artifact directory.
#
#   fuzz/run_fuzzers.sh [SECONDS] [TARGET...]     (default 20 seconds, every target)
#
# Environment: FUZZ_BUILD_DIR (build-fuzz), FUZZ_WORK_DIR (a fresh temporary directory; the
# corpus each run grows and the artifacts), JOBS (build jobs, nproc), FUZZ_NICE (nice level, 10).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-20}"
shift || true
targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
    targets=(adif_reader utf8_log csv_reader dxcc_list country_file cabrillo_template setup_ini date_value
             convert_qso_date time_separator)
fi
build_dir="${FUZZ_BUILD_DIR:-build-fuzz}"
jobs="${JOBS:-$(nproc)}"
nice_level="${FUZZ_NICE:-10}"

# clang and its fuzzer runtime, installed when missing (Debian 12: clang 14).
fuzzer_links() {
    command -v clang++ >/dev/null 2>&1 &&
        echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' |
            clang++ -x c++ -fsanitize=fuzzer,address,undefined - -o /dev/null >/dev/null 2>&1
}
if ! fuzzer_links; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing clang and its fuzzer runtime"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq clang libclang-rt-14-dev
    fuzzer_links || { echo "clang cannot link a libFuzzer target" >&2; exit 1; }
fi

# ccache, when the machine has it, as in the Makefile.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMARK_FUZZ=ON -DVELMARK_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build "$build_dir" -j "$jobs" --target velmark_fuzzers

# The targets that read files write each input to a scratch directory under TMPDIR; a memory
# file system keeps the setup.ini target's synced writes from dominating its time.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
work_dir="${FUZZ_WORK_DIR:-$(mktemp -d -t velmark-fuzz-work.XXXXXX)}"
mkdir -p "$work_dir"
echo "Fuzzing ${#targets[@]} targets for ${seconds} s each; corpora and artifacts in $work_dir"
for target in "${targets[@]}"; do
    corpus="$work_dir/$target/corpus"
    artifacts="$work_dir/$target/artifacts"
    mkdir -p "$corpus" "$artifacts"
    echo "== $target"
    # New inputs go to the first directory; the seed corpus is only read.
    if ! nice -n "$nice_level" "$build_dir/fuzz/velmark_fuzz_$target" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" "fuzz/corpus/$target" \
        >"$work_dir/$target/log" 2>&1; then
        tail -n 60 "$work_dir/$target/log" >&2
        echo "FAILED: $target (input kept in $artifacts)" >&2
        exit 1
    fi
    grep -E '^stat::(number_of_executed_units|new_units_added)|^#[0-9]+.*DONE' \
        "$work_dir/$target/log" || true
done
echo "All fuzz targets ran without a finding"
