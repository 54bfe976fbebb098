// Everything the library offers, in one include.
#pragma once

#include "redivi/atom.hpp"
#include "redivi/bond.hpp"
#include "redivi/convert/pdb.hpp"
#include "redivi/convert/sdf.hpp"
#include "redivi/convert/xyz.hpp"
#include "redivi/chain.hpp"
#include "redivi/constraints.hpp"
#include "redivi/diagnostics.hpp"
#include "redivi/element.hpp"
#include "redivi/error.hpp"
#include "redivi/fragment.hpp"
#include "redivi/residue.hpp"
#include "redivi/topology.hpp"
#include "redivi/trc.hpp"
#include "redivi/ts.hpp"
#include "redivi/version.hpp"
