#!/usr/bin/env bash
# Speed of parsing a product page and building its address lists, on an
# optimised native build (the sanitizer build would measure the sanitizers).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset bench >/dev/null
cmake --build --preset bench --target bench_parser
exec ./build/bench/tools/bench_parser --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true "$@"
