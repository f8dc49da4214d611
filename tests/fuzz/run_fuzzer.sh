#!/usr/bin/env bash
# run_fuzzer.sh <fuzz target> <corpus folder> <seconds> <work folder>
# Replays every corpus entry, then fuzzes for the given time. New inputs go
# into <work folder>/new, never into the corpus; a crashing input is kept in
# <work folder>/crashes. Fails on any crash, leak or sanitizer report.
set -euo pipefail
target=$1 corpus=$2 seconds=$3 work=$4
rm -rf "$work"
mkdir -p "$work/new" "$work/crashes"
exec "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/crashes/" "$work/new" "$corpus"
