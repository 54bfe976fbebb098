#!/usr/bin/env bash
# Installs the peer libraries when missing, builds chemfiles from its source snapshot once, builds the
# side-by-side comparison in Release and runs it; arguments go to redivi_compare (for example:
# --repetitions 9 pdb-read mmcif-read). REDIVI_PEERS_DIR is the folder of the chemfiles snapshot and
# its build script (default: ../shared/peers beside the checkout); REDIVI_CHEMFILES_PREFIX is where
# chemfiles is installed, and built when it is not there yet (default: build/compare/chemfiles).
set -euo pipefail
cd "$(dirname "$0")/../.."

bash scripts/install-deps.sh gemmi-dev libstb-dev tao-pegtl-dev librdkit-dev libboost-dev libopenbabel-dev

peers=${REDIVI_PEERS_DIR:-$(dirname "$PWD")/shared/peers}
chemfiles=${REDIVI_CHEMFILES_PREFIX:-$PWD/build/compare/chemfiles}
if [ -f "$chemfiles/include/chemfiles.hpp" ]; then
  echo "chemfiles: installed in $chemfiles"
elif [ -f "$peers/build-chemfiles.sh" ] && [ -f "$peers/chemfiles-src.tar.gz" ]; then
  echo "chemfiles: building it from $peers into $chemfiles (a few minutes, once)"
  bash "$peers/build-chemfiles.sh" "$chemfiles"
else
  echo "chemfiles: skipped, no source snapshot in $peers (the comparison runs without it)"
  chemfiles=""
fi

cmake -S . -B build/compare -DCMAKE_BUILD_TYPE=Release -DREDIVI_BUILD_COMPARISON=ON \
  -DREDIVI_BUILD_TESTS=OFF -DREDIVI_BUILD_EXAMPLES=OFF -U chemfiles_DIR -DCMAKE_PREFIX_PATH="$chemfiles" >/dev/null
cmake --build build/compare -j "$(nproc)" --target redivi_compare redivi_read_file >/dev/null
build/compare/bench/compare/redivi_compare "$@"

# Peak memory of reading the one-million-atom PDB and mmCIF texts and the 102,500 small molecules
# from files.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for kind in pdb:pdb mmcif:cif sdf-small:sdf; do
  file="$scratch/large.${kind#*:}"
  build/compare/bench/redivi_read_file --generate "${kind%%:*}" "$file" >/dev/null
  build/compare/bench/redivi_read_file "$file"
done
