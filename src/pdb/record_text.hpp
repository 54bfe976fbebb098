// Appends PDB records to a text as fixed-column lines (no line terminator), for the writer and Line.
#pragma once

#include <cstdint>
#include <expected>
#include <span>
#include <string>

#include "redivi/convert/pdb.hpp"

namespace redivi::pdb::detail {

// Each appends one line. On failure the text may hold part of the line; callers drop the text.
std::expected<void, WriteError> append_atom(std::string& out, const Atom& atom);
std::expected<void, WriteError> append_helix(std::string& out, const Helix& helix);
std::expected<void, WriteError> append_sheet(std::string& out, const Sheet& sheet);
void append_seqres(std::string& out, const Seqres& seqres);
void append_conect(std::string& out, std::span<const std::uint32_t> serials);

}  // namespace redivi::pdb::detail
