// Everything the library offers, in one include; the C clock stays apart in redivi/ts.hpp.
#pragma once

#include "redivi/atom.hpp"
#include "redivi/bond.hpp"
#include "redivi/chain.hpp"
#include "redivi/constraints.hpp"
#include "redivi/convert/mmcif.hpp"
#include "redivi/convert/pdb.hpp"
#include "redivi/convert/sdf.hpp"
#include "redivi/convert/xyz.hpp"
#include "redivi/diagnostics.hpp"
#include "redivi/element.hpp"
#include "redivi/error.hpp"
#include "redivi/fragment.hpp"
#include "redivi/residue.hpp"
#include "redivi/topology.hpp"
#include "redivi/trc.hpp"
#include "redivi/version.hpp"
