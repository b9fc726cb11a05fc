#include "cli/plot_overlays.h"

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/plot_options.h"
#include "core/text_reader.h"
#include "export/dxf_maps.h"
#include "graphics/contours.h"
#include "graphics/velocity_vectors.h"
#include "session/time_step_results.h"

namespace kestra::cli {
namespace {

bool Refuse(std::ostream& err, const std::string& reason) {
  ReportPlotProblem(err, reason);
  return false;
}

// FILE alone, or FILE,SHIFTX,SHIFTY,FACTOR; a file name may hold commas itself.
std::optional<MapOption> MapNamed(const std::string& value) {
  MapOption map{value};
  std::size_t end = value.size();
  float numbers[3];
  for (int n = 2; n >= 0; --n) {
    const std::size_t comma = value.rfind(',', end - 1);
    if (end == 0 || comma == std::string::npos) return map;
    const auto number = ParseNumber(value.substr(comma + 1, end - comma - 1));
    if (!number || !std::isfinite(static_cast<float>(*number))) return map;
    numbers[n] = static_cast<float>(*number);
    end = comma;
  }
  return MapOption{value.substr(0, end), numbers[0], numbers[1], numbers[2]};
}

// For FILE,SHIFTX,SHIFTY,FACTOR whose FILE is a regular file but one of
// whose numbers is none or not finite: which one. Empty otherwise.
std::string BadMapNumber(const std::string& value) {
  constexpr const char* kNames[] = {"shift in x", "shift in y", "factor"};
  std::vector<std::string> fields;
  std::size_t end = value.size();
  for (int n = 0; n < 3; ++n) {
    const std::size_t comma = end == 0 ? std::string::npos : value.rfind(',', end - 1);
    if (comma == std::string::npos) return {};
    fields.insert(fields.begin(), value.substr(comma + 1, end - comma - 1));
    end = comma;
  }
  std::error_code error;
  if (!std::filesystem::is_regular_file(value.substr(0, end), error)) return {};
  for (int n = 0; n < 3; ++n) {
    const auto number = ParseNumber(fields[n]);
    if (!number || !std::isfinite(static_cast<float>(*number)))
      return "the map " + std::string(kNames[n]) + " '" + fields[n] + "' of --map is not a finite number";
  }
  return {};
}

}  // namespace

bool IsOverlayOption(const std::string& word) { return word == "--vectors" || word == "--map"; }

bool ReadOverlayOption(const std::string& option, const std::string& value, OverlayOptions& options,
                       std::ostream& err) {
  if (option == "--vectors") {
    if (value != "on" && value != "off") return Refuse(err, "bad value '" + value + "' for --vectors: on or off");
    options.vectors = value == "on";
    return true;
  }
  if (options.maps.size() >= static_cast<std::size_t>(kDxfMapCount))
    return Refuse(err, "at most " + std::to_string(kDxfMapCount) + " maps (--map) can be shown");
  const MapOption map = *MapNamed(value);
  if (const std::string badNumber = BadMapNumber(value); !badNumber.empty()) return Refuse(err, badNumber);
  if (map.file.empty()) return Refuse(err, "--map needs a file name");
  options.maps.push_back(map);
  return true;
}

std::string MapFileProblem(const OverlayOptions& options) {
  for (const MapOption& map : options.maps)
    if (std::string problem = TextInputProblem(map.file, "a DXF map"); !problem.empty()) return problem;
  return {};
}

void ApplyOverlayOptions(const OverlayOptions& options, Settings& settings) {
  if (options.vectors) settings.vectorsVisible = *options.vectors ? kOn : kOff;
  if (options.maps.empty()) return;
  for (int n = 1; n <= kDxfMapCount; ++n) {
    const std::size_t given = static_cast<std::size_t>(n - 1);
    if (given < options.maps.size()) {
      const MapOption& map = options.maps[given];
      settings.dxfMaps[n] = {map.file, map.shiftX, map.shiftY, map.factor, kOn, kDefaultMapColour};
    } else {
      settings.dxfMaps[n] = DxfMapEntry{};
    }
  }
}

void LoadOverlayFont(PlotOverlays& overlays) {
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  const auto path = FindStrokeFontFile(error ? std::filesystem::current_path(error) : program.parent_path());
  std::string problem;
  if (!path.empty()) LoadStrokeFont(path, overlays.font, problem);
}

void SetPlotOverlays(DrawInputs& inputs, PlotOverlays& overlays, Session& session) {
  inputs.drawOverlays = [&inputs, &overlays, &session](PlotContext& context) {
    // A plot gets contours only when they are switched on.
    const CellArray<float>* contoured =
        ContourSource(session.model, session.settings, session.loaded.headsLoaded, session.loaded.drawdownsLoaded);
    if (contoured && IsOn(session.settings.contourDisplay))
      DrawContours(context, {session.settings, session.contours, overlays.font, inputs.ui, session.busy}, *contoured);
    if (IsOn(session.settings.vectorsVisible)) CellVelocitiesReady(session);
    DrawVelocityVectors(context, {session.settings, inputs.ui, session.loaded.maxSpeed});
    DrawDxfMaps(context, {session.settings, inputs.ui, overlays.font, overlays.cache});
  };
}

}  // namespace kestra::cli
