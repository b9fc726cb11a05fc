// Writing a plot file from a few primitives, for the device tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "graphics/plot_primitives.h"
#include "recording_picture.h"
#include "small_models.h"
#include "support/temp_dir.h"

namespace kestra::test {

// Opens a plot of the whole grid in `format` at `path`, lets `draw` draw, closes
// it and returns the file's text.
inline std::string PlotOf(const ModelState& model, const char* format, const std::string& path,
                          const std::function<void(PlotContext&)>& draw) {
  RecordingPicture plan, row, column;
  PlotDevice device;
  device.PlotFormat = format;
  device.PlotFileName = path;
  device.PlotToFile = true;
  ViewLayout layout = WholeGridLayout(model);
  PlotContext context{plan, row, column, device, model, layout};
  EXPECT_TRUE(OpenPlotFile(device, layout.zoom));
  draw(context);
  EXPECT_TRUE(ClosePlotFile(device));
  return ReadWholeFile(path);
}

// The same in a file of its own that is gone afterwards.
inline std::string PlotOf(const ModelState& model, const char* format, const std::function<void(PlotContext&)>& draw) {
  TempDir dir;
  return PlotOf(model, format, dir.File("plot"), draw);
}

// How often `word` occurs in `text`.
inline int Occurrences(const std::string& text, const std::string& word) {
  int count = 0;
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++count;
  return count;
}

}  // namespace kestra::test
