// The options of the commands that open a model: the layer porosities, the
// GWF model of a simulation and the world position.
#pragma once

#include <ostream>

#include "cli/commands.h"
#include "settings/open_choices.h"

namespace kestra::cli {

inline constexpr const char* kOpenUsage =
    "  --porosity LIST   porosity of every layer (one value) or of layers 1, 2, ... (values separated by\n"
    "                    commas, an empty one keeps the model's); each above 0 and at most 1\n"
    "  --model NAME      of a MODFLOW 6 simulation with several GWF models, the one to open\n"
    "                    (default: the first, said on the error stream)\n"
    "  --origin X,Y      the world position of the grid's lower-left corner, in the model's length unit\n"
    "  --rotation DEG    the grid's rotation about that corner, degrees counter-clockwise\n"
    "  --crs CRS         the coordinate reference system of the world position: EPSG:N, a WKT or a\n"
    "                    PROJ string (these three replace what the model and its settings file give)\n";

// Takes "--porosity LIST" or "--porosity=LIST" out of `args` into
// `porosity` (left as it was without the option). False, with a message on
// `err`, when LIST is missing or holds an entry that is not a porosity.
bool TakePorosityOption(Arguments& args, LayerPorosity& porosity, std::ostream& err);

// Takes "--porosity LIST", "--model NAME", "--origin X,Y", "--rotation DEG"
// and "--crs CRS" out of `args` into `choices`.
// False, with a message on `err`, when one lacks its value or has a bad one.
bool TakeOpenOptions(Arguments& args, OpenChoices& choices, std::ostream& err);

}  // namespace kestra::cli
