// What every fuzz harness shares: a user interface that keeps quiet, a
// private temporary folder and the MODFLOW runs kept with the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/model_state.h"
#include "core/user_interface.h"
#include "graphics/blank_picture.h"
#include "graphics/plot_device.h"
#include "graphics/plot_primitives.h"
#include "graphics/stroke_font.h"
#include "graphics/view_layout.h"

namespace kestra::fuzz {

// Records only how many messages were shown; answers every question with no.
class SilentInterface : public UserInterface {
 public:
  void Beep() override {}
  void ShowMessage(const std::string&, MessageIcon, const std::string&) override { ++messages; }
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void SetHourglass(bool) override {}
  void SetMeter(int) override {}
  void SetHint(const std::string&) override {}
  void SetWindowTitle(const std::string&) override {}
  void SetStatusPane(int, const std::string&) override {}
  bool EscapePressed() override { return false; }

  int messages = 0;
};

// Records walked at most in one result file, and the largest grid a harness
// builds a model for: as many cells as a layer of 4-byte values in the
// largest input scripts/fuzz.sh gives (1 MiB) holds, so that every grid a
// reader accepts from such a file is built.
inline constexpr int kMaxRecords = 10000;
inline constexpr std::int64_t kMaxModelCells = 1 << 18;

// A folder of this process, removed when the process ends normally.
const std::string& WorkFolder();

// Writes the bytes to `name` in the work folder and returns its path.
std::string WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size);

// Copies `from` over `to` through streams: the file system's own copy gives
// up on a signal (the fuzzer's timer), which would end the harness.
void CopyFile(const std::string& from, const std::string& to);

// Copies every file of tests/data/<run> into the work folder's sub-folder
// `into` once per process and returns that folder.
std::string CopyTestRun(const std::string& run, const std::string& into);

// A model of 12 by 10 cells of 10 units with heads that rise in a bowl,
// its three views over blank pictures and the stroke font of the program:
// what drawing harnesses draw on. With `plotPath`, the drawing also goes
// into a DXF plot file there (call FinishPlot to close it).
struct DrawingScene {
  explicit DrawingScene(const std::string& plotPath = {});
  void FinishPlot();

  ModelState model;
  ViewLayout layout;
  BlankPicture plan, row, column;
  PlotDevice device;
  StrokeFont font;
  PlotContext context{plan, row, column, device, model, layout};
};

}  // namespace kestra::fuzz
