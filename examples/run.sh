#!/usr/bin/env bash
# Builds the examples and reads the bundled structure files: PDB, mmCIF, SDF and XYZ, then
# writes the PDB structure back as PDB text.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target read_structure write_pdb >/dev/null
build/default/examples/read_structure examples/data/peptide.pdb examples/data/peptide.cif \
  examples/data/ligands.sdf examples/data/water.xyz
echo
echo "examples/data/peptide.pdb written back as PDB:"
build/default/examples/write_pdb < examples/data/peptide.pdb
