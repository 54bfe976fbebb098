#!/usr/bin/env bash
# Runs fuzz targets for a bounded time each, seeded with the shared structure files; fails on any finding.
# Usage: fuzz/run.sh BUILD_DIR SECONDS [TARGET...]   (targets: pdb mmcif sdf xyz; default all)
set -euo pipefail
build=$1
seconds=$2
shift 2
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(pdb mmcif sdf xyz)
data=${REDIVI_DATA_DIR:-"$(cd "$(dirname "$0")/.." && pwd)/../shared/data"}

declare -A folder=([pdb]=pdb [mmcif]=cif [sdf]=sdf [xyz]=xyz)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for target in "${targets[@]}"; do
  seeds="$work/$target/seeds"
  mkdir -p "$seeds" "$work/$target/found" "$build/fuzz/artifacts"
  for file in "$data/${folder[$target]}"/*; do
    case $file in
      *.gz) gunzip -c "$file" >"$seeds/$(basename "${file%.gz}")" ;;
      *) cp "$file" "$seeds/" ;;
    esac
  done
  echo "fuzzing $target for $seconds s"
  # New inputs go to found/, before the seeds, so the seeds stay as they are.
  if ! "$build/fuzz/${target}_fuzz" "$work/$target/found" "$seeds" -max_total_time="$seconds" -rss_limit_mb=2048 \
      -timeout=10 -max_len=65536 -print_final_stats=1 -artifact_prefix="$build/fuzz/artifacts/$target-" \
      >"$work/$target/log" 2>&1; then
    tail -n 60 "$work/$target/log" >&2
    echo "fuzz target $target found a fault; its input is in $build/fuzz/artifacts" >&2
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$work/$target/log" | sed "s/^/$target /"
done
