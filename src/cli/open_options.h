// The options of the commands that open a model: "--porosity" and "--model".
#pragma once

#include <ostream>

#include "cli/commands.h"
#include "settings/open_choices.h"

namespace kestra::cli {

inline constexpr const char* kOpenUsage =
    "  --porosity LIST   porosity of every layer (one value) or of layers 1, 2, ... (values separated by\n"
    "                    commas, an empty one keeps the model's); each above 0 and at most 1\n"
    "  --model NAME      of a MODFLOW 6 simulation with several GWF models, the one to open\n"
    "                    (default: the first, said on the error stream)\n";

// Takes "--porosity LIST" or "--porosity=LIST" out of `args` into
// `porosity` (left as it was without the option). False, with a message on
// `err`, when LIST is missing or holds an entry that is not a porosity.
bool TakePorosityOption(Arguments& args, LayerPorosity& porosity, std::ostream& err);

// Takes "--porosity LIST" and "--model NAME" out of `args` into `choices`.
// False, with a message on `err`, when one lacks its value or has a bad one.
bool TakeOpenOptions(Arguments& args, OpenChoices& choices, std::ostream& err);

}  // namespace kestra::cli
