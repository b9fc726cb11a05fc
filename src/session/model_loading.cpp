#include "session/model_loading.h"

#include "core/model_paths.h"
#include "core/number_format.h"
#include "core/world_position.h"
#include "graphics/readable_exaggeration.h"
#include "modelset/layer_files.h"
#include "session/time_step_results.h"
#include "settings/ini_file.h"

namespace kestra {
namespace {

constexpr int kLoadingStages = 12;
constexpr int kPeriodPane = 5;
constexpr int kStepPane = 6;
constexpr int kParticlePane = 7;

std::string TitleNaming(const std::string& titleName) {
  return std::string(kApplicationTitle) + " - [" + titleName + "]";
}

void LoadLayerColours(Session& session) {
  LayerPropertyFile file;
  ReadLayerProperties(ModelSiblingPath(session.model, ".lyp"), session.model.NLAY, file);
  session.model.LayerProperties = std::move(file.layers);
  session.layerPropertyHeader = file.headerValue;
}

// A settings file that sets no exaggeration gets one that shows the
// sections readably; a stored value always wins.
void ChooseExaggeration(Session& session) {
  if (!IniFile::Load(session.settingsPath).Get("CROSS_SECTIONS", "EXAGGERATION"))
    session.settings.exaggeration = ReadableExaggeration(session.model);
}

}  // namespace

LoadingDisplay::LoadingDisplay(UserInterface& ui, const std::string& titleName) : ui_(ui), hourglass_(ui) {
  ui_.SetWindowTitle(TitleNaming(titleName) + " - loading");
  ui_.SetHint("Loading Data; Please Wait");
  ui_.SetMeter(0);
}

LoadingDisplay::~LoadingDisplay() {
  ui_.SetHint("");
  ui_.SetMeter(0);
}

void LoadingDisplay::Stage(int stage) { ui_.SetMeter(stage * 100 / kLoadingStages); }

bool RefuseWhenBusy(const Session& session, UserInterface& ui) {
  if (!session.busy.Any()) return false;
  ui.Beep();
  return true;
}

std::string WindowTitle(const ModelState& model) {
  if (!model.HasModel()) return kApplicationTitle;
  return TitleNaming(model.ModelTitleName) + " (" + FolderOf(model.ModelPath) + ")";
}

void LoadFirstTimeStep(Session& session, UserInterface& ui, LoadingDisplay& display) {
  ModelState& model = session.model;
  LoadStatus& loaded = session.loaded;
  loaded = LoadTimeStepResults(model, session.settings, session.tracking, ui, StepResults::All,
                               [&display](int stage) { display.Stage(stage); });
  display.Stage(10);
  // Said once, at the open: every later time step has the same terms.
  if (model.flowTermsLoaded && !loaded.sinksWithoutFlowTerms.empty())
    ui.ShowMessage(NoBoundaryFlowsText(loaded.sinksWithoutFlowTerms), MessageIcon::Information, kApplicationTitle);
  ChooseExaggeration(session);
  display.Stage(11);
  session.contours =
      ReadContourLevels(ModelSiblingPath(model, ".ctr"), model, session.settings, loaded.drawdownsLoaded, ui);
  UseReadableLabels(session.settings, session.contours, LengthUnitSymbol(model.lengthUnit));
  LoadLayerColours(session);
  display.Stage(12);
}

void ShowLoadedModel(Session& session, UserInterface& ui, OpenObserver& views) {
  views.SetUpViewScales(session);
  views.ShowModel(session);
  ui.SetWindowTitle(WindowTitle(session.model));
  ui.SetStatusPane(kPeriodPane, IntegerMaskText(session.model.CurrentPeriod));
  ui.SetStatusPane(kStepPane, IntegerMaskText(session.model.CurrentStep));
  ui.SetStatusPane(kParticlePane, "0");
}

void KeepPreviousModel(Session& session, UserInterface& ui, OpenObserver& views) {
  ui.SetWindowTitle(WindowTitle(session.model));
  if (session.model.HasModel()) views.KeepModel(session);
}

}  // namespace kestra
