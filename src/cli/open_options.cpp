#include "cli/open_options.h"

#include <algorithm>
#include <optional>

#include "core/quoted_text.h"
#include "core/text_reader.h"

namespace kestra::cli {
namespace {

constexpr std::string_view kOption = "--porosity";

// The porosities of LIST; nothing when an entry is neither empty nor a porosity.
std::optional<LayerPorosity> ParsePorosityList(const std::string& list) {
  LayerPorosity porosity;
  if (list.find(',') == std::string::npos) {
    const auto value = ParseNumber(list);
    if (!value || !IsValidPorosity(*value)) return std::nullopt;
    porosity.everyLayer = static_cast<float>(*value);
    return porosity;
  }
  int layer = 0;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = std::min(list.find(',', start), list.size());
    const std::string entry = list.substr(start, comma - start);
    ++layer;
    start = comma + 1;
    if (entry.empty()) continue;
    const auto value = ParseNumber(entry);
    if (!value || !IsValidPorosity(*value)) return std::nullopt;
    porosity.byLayer[layer] = static_cast<float>(*value);
  }
  return porosity;
}

// Takes "NAME VALUE" out of `args` into `value`; false, with a message
// saying what `needs`, when VALUE is missing or is another option.
bool TakeValue(Arguments& args, const char* name, const char* needs, std::optional<std::string>& value,
               std::ostream& err) {
  const auto option = std::find(args.begin(), args.end(), name);
  if (option == args.end()) return true;
  if (option + 1 == args.end() || (option + 1)->empty() || (option + 1)->starts_with("--")) {
    err << "kestra-cli: " << name << " needs " << needs << "\n";
    return false;
  }
  value = *(option + 1);
  args.erase(option, option + 2);
  return true;
}

bool ParseOrigin(const std::string& text, PositionChoice& position) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) return false;
  position.xOrigin = ParseFiniteNumber(text.substr(0, comma));
  position.yOrigin = ParseFiniteNumber(text.substr(comma + 1));
  return position.xOrigin && position.yOrigin;
}

}  // namespace

bool TakePorosityOption(Arguments& args, LayerPorosity& porosity, std::ostream& err) {
  const auto option = std::find_if(args.begin(), args.end(), [](const std::string& arg) {
    return arg == kOption || (arg.starts_with(kOption) && arg.size() > kOption.size() && arg[kOption.size()] == '=');
  });
  if (option == args.end()) return true;
  const bool joined = option->size() > kOption.size();
  const bool listGiven = joined || option + 1 != args.end();
  const std::string list = joined ? option->substr(kOption.size() + 1) : listGiven ? *(option + 1) : std::string();
  const auto parsed = listGiven ? ParsePorosityList(list) : std::nullopt;
  if (!parsed) {
    err << "kestra-cli: --porosity needs one porosity, or one per layer separated by commas, each above 0 and at "
           "most 1 (got "
        << SingleQuotedText(list) << ")\n";
    return false;
  }
  porosity = *parsed;
  args.erase(option, option + (joined ? 1 : 2));
  return true;
}

bool TakeOpenOptions(Arguments& args, OpenChoices& choices, std::ostream& err) {
  if (!TakePorosityOption(args, choices.layerPorosity, err)) return false;
  std::optional<std::string> model, origin, rotation, crs;
  if (!TakeValue(args, "--model", "the name of a GWF model of the simulation", model, err) ||
      !TakeValue(args, "--origin", "X,Y: the world position of the grid's lower-left corner", origin, err) ||
      !TakeValue(args, "--rotation", "the grid's rotation in degrees counter-clockwise", rotation, err) ||
      !TakeValue(args, "--crs", "a coordinate reference system such as EPSG:32633", crs, err))
    return false;
  if (model) choices.gwfModel = *model;
  if (origin && !ParseOrigin(*origin, choices.position)) {
    err << "kestra-cli: --origin needs X,Y: two numbers separated by a comma (got " << SingleQuotedText(*origin)
        << ")\n";
    return false;
  }
  if (rotation && !(choices.position.rotation = ParseFiniteNumber(*rotation))) {
    err << "kestra-cli: --rotation needs an angle in degrees (got " << SingleQuotedText(*rotation) << ")\n";
    return false;
  }
  if (crs) choices.position.crs = *crs;
  return true;
}

}  // namespace kestra::cli
