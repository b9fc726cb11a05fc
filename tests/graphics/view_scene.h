// A model with its pictures, plot device, settings and package data, built
// by hand for the plan and section tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "graphics/draw_inputs.h"
#include "graphics/plot_device.h"
#include "modelset/model_file_set.h"
#include "recording_picture.h"
#include "small_models.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra::test {

class StatusRecordingInterface : public RecordingInterface {
 public:
  void ShowStatusPanes(bool show) override { panesShown = show; }
  bool panesShown = true;
};

struct ViewScene {
  // The model answers which packages it simulates from its DataFlags, as a
  // model file set does.
  explicit ViewScene(ModelState built) : model(std::move(built)), layout(WholeGridLayout(model)) {
    model.family = std::make_shared<ModelFileSetFamily>(model.ModelPath, model.Shape());
  }
  ViewScene(const ViewScene&) = delete;
  ViewScene& operator=(const ViewScene&) = delete;

  // Package data of one data type and layer, every cell `value` except those given.
  void SetPackage(int dataType, int layer, std::map<std::pair<int, int>, float> cells, float value = 0) {
    LayerValues values{model.NCOL, model.NROW,
                       std::vector<float>(static_cast<std::size_t>(model.NCOL) * model.NROW, value)};
    for (const auto& [cell, v] : cells)
      values.values[static_cast<std::size_t>(cell.second - 1) * model.NCOL + cell.first - 1] = v;
    packages[{dataType, layer}] = values;
  }

  // Writes what `draw` draws into a DXF plot of the scene's zoom and gives its text.
  std::string DxfOf(const std::function<void()>& draw) {
    TempDir dir;
    device.PlotFormat = kPlotFormatDxf;
    device.PlotFileName = dir.File("scene.dxf");
    device.PlotToFile = true;
    EXPECT_TRUE(OpenPlotFile(device, layout.zoom));
    draw();
    EXPECT_TRUE(ClosePlotFile(device));
    return ReadWholeFile(device.PlotFileName);
  }

  // Boxes and lines of one colour on a picture.
  static std::vector<std::vector<float>> Drawn(const RecordingPicture& picture, const std::string& kind,
                                               Colour colour) {
    std::vector<std::vector<float>> found;
    for (const DrawnElement& e : picture.Of(kind))
      if (e.colour == colour) found.push_back(e.values);
    return found;
  }

  ModelState model;
  ViewLayout layout;
  RecordingPicture plan, row, column;
  PlotDevice device;
  Settings settings;
  StatusRecordingInterface ui;
  std::map<std::pair<int, int>, LayerValues> packages;
  PackageLayerReader reader = [this](int dataType, int layer, int, LayerValues& values) {
    const auto found = packages.find({dataType, layer});
    if (found == packages.end()) return false;
    values = found->second;
    return true;
  };
  PlotContext context{plan, row, column, device, model, layout};
  DrawInputs inputs{settings, reader, ui};
};

}  // namespace kestra::test
