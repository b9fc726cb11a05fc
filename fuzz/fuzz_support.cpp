#include "fuzz_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "graphics/view_arrangement.h"

namespace kestra::fuzz {
namespace {

class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestra-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

const std::string& WorkFolder() {
  static const TemporaryFolder folder;
  return folder.Path();
}

std::string WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = (std::filesystem::path(WorkFolder()) / name).string();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

void CopyFile(const std::string& from, const std::string& to) {
  std::ifstream in(from, std::ios::binary);
  std::ofstream out(to, std::ios::binary | std::ios::trunc);
  out << in.rdbuf();
}

std::string CopyTestRun(const std::string& run, const std::string& into) {
  static std::set<std::string> copied;
  const std::filesystem::path folder = std::filesystem::path(WorkFolder()) / into;
  if (copied.insert(into).second) {
    std::filesystem::create_directories(folder);
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(KESTRA_TESTDATA_DIR) / run))
      CopyFile(entry.path().string(), (folder / entry.path().filename()).string());
  }
  return folder.string();
}

namespace {

constexpr int kSceneColumns = 12, kSceneRows = 10;
constexpr float kSceneCell = 10;

const StrokeFont& ProgramFont() {
  static const StrokeFont font = [] {
    StrokeFont loaded;
    std::string error;
    if (!LoadStrokeFont(std::filesystem::path(KESTRA_DATA_DIR) / kStrokeFontFileName, loaded, error)) std::abort();
    return loaded;
  }();
  return font;
}

}  // namespace

DrawingScene::DrawingScene(const std::string& plotPath) : font(ProgramFont()) {
  DimensionModel(model, kSceneColumns, kSceneRows, 1);
  for (int j = 1; j <= kSceneColumns; ++j) model.DELR[j] = kSceneCell;
  for (int i = 1; i <= kSceneRows; ++i) model.DELC[i] = kSceneCell;
  ComputeGridGeometry(model);
  model.ModelPath = "fuzz.mdl";
  for (int i = 1; i <= kSceneRows; ++i)
    for (int j = 1; j <= kSceneColumns; ++j) {
      model.IBOUND(j, i, 1) = 1;
      model.TOP(j, i, 1) = 100;
      const float dx = model.XCENTER[j] - 60, dy = model.YCENTER[i] - 50;
      model.HEAD(j, i, 1) = 50 + (dx * dx + dy * dy) / 100;
    }
  model.CurrentLayer = 1;
  layout.zoom = WholeGridZoom(model);
  layout.modelZmin = 90;
  layout.modelZmax = 100;
  SetViewWindow(layout);
  if (plotPath.empty()) return;
  device.PlotFileName = plotPath;
  device.PlotToFile = true;
  if (!OpenPlotFile(device, layout.zoom)) std::abort();
}

void DrawingScene::FinishPlot() {
  if (device.PlotToFile) ClosePlotFile(device);
}

}  // namespace kestra::fuzz
