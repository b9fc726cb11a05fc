// The "--porosity" option of the commands that open a model.
#pragma once

#include <ostream>

#include "cli/commands.h"
#include "settings/layer_porosity.h"

namespace kestra::cli {

inline constexpr const char* kPorosityUsage =
    "  --porosity LIST   porosity of every layer (one value) or of layers 1, 2, ... (values separated by\n"
    "                    commas, an empty one keeps the model's); each above 0 and at most 1\n";

// Takes "--porosity LIST" or "--porosity=LIST" out of `args` into
// `porosity` (left as it was without the option). False, with a message on
// `err`, when LIST is missing or holds an entry that is not a porosity.
bool TakePorosityOption(Arguments& args, LayerPorosity& porosity, std::ostream& err);

}  // namespace kestra::cli
