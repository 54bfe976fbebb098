// redivi/convert/pdb.hpp alone: every function it declares compiles and links.
#include "redivi/convert/pdb.hpp"

namespace header_check {

// Never run: building it is the check.
void pdb_hpp() {
  using redivi::pdb::Line;
  const std::string_view text = "END";
  const auto structures = redivi::pdb::from_pdb_with_options(text, true);
  if (!structures) {
    to_string(structures.error());
    debug_string(structures.error());
    return;
  }
  const auto pdb = redivi::pdb::to_pdb(structures->front());
  if (!pdb) {
    to_string(pdb.error());
    debug_string(pdb.error());
  }
  if (const auto line = Line::try_from(text, 1)) line->try_to_string();
  Line::try_from_atom(text, 1);
  Line::try_from_hetatm(text, 1);
  Line::try_from_helix(text, 1);
  Line::try_from_sheet(text, 1);
  Line::try_from_conect(text, 1);
  Line::try_from_ter(text, 1);
  Line::parse_str(text, 0, 3, 1);
  Line::parse_opt_str(text, 0, 3, 1);
  Line::parse_u32(text, 0, 3, 1);
  Line::parse_i32(text, 0, 3, 1);
  Line::parse_opt_i32(text, 0, 3, 1);
  Line::parse_f32(text, 0, 3, 1);
  Line::parse_element(text, 1);
  Line::parse_opt_charge(text, 1);
  Line::trace_parser(text, 0, 3);
}

}  // namespace header_check
