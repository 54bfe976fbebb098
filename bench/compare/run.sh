#!/usr/bin/env bash
# Installs the peer libraries when missing, builds the side-by-side comparison in Release and runs
# it; arguments go to redivi_compare (for example: --repetitions 9 pdb-read mmcif-read).
set -euo pipefail
cd "$(dirname "$0")/../.."

bash scripts/install-deps.sh gemmi-dev libstb-dev tao-pegtl-dev librdkit-dev libboost-dev libopenbabel-dev

cmake -S . -B build/compare -DCMAKE_BUILD_TYPE=Release -DREDIVI_BUILD_COMPARISON=ON \
  -DREDIVI_BUILD_TESTS=OFF -DREDIVI_BUILD_EXAMPLES=OFF >/dev/null
cmake --build build/compare -j "$(nproc)" --target redivi_compare redivi_read_file >/dev/null
build/compare/bench/compare/redivi_compare "$@"

# Peak memory of reading the one-million-atom PDB and mmCIF texts from files.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for kind in pdb mmcif; do
  file="$scratch/large.$([ "$kind" = pdb ] && echo pdb || echo cif)"
  build/compare/bench/redivi_read_file --generate "$kind" "$file" >/dev/null
  build/compare/bench/redivi_read_file "$file"
done
