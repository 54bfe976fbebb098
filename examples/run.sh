#!/usr/bin/env bash
# Builds the examples and runs each on the bundled files of examples/data: reads every format, writes
# PDB text back, cuts a ligand pocket out of a protein, lists and rewrites an SDF library, and converts
# a two-model mmCIF file to PDB. Written files go to build/default/examples/out.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target read_structure write_pdb ligand_pocket sdf_library mmcif_to_pdb >/dev/null
bin=build/default/examples
out=$bin/out
mkdir -p "$out"

$bin/read_structure examples/data/peptide.pdb examples/data/peptide.cif examples/data/ligands.sdf \
  examples/data/water.xyz
echo
echo "examples/data/peptide.pdb written back as PDB:"
$bin/write_pdb < examples/data/peptide.pdb
echo
echo "The residues within 5 A of FK506 in 3O5R:"
$bin/ligand_pocket examples/data/3o5r_fk5_site.pdb FK5 5 "$out/fk5_pocket.pdb"
echo
echo "Three PubChem records:"
$bin/sdf_library examples/data/pubchem.sdf "$out/pubchem.sdf"
echo
echo "Two models of 1L2Y from mmCIF to PDB:"
$bin/mmcif_to_pdb examples/data/1l2y_two_models.cif "$out/1l2y"
