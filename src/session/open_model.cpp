#include "session/open_model.h"

#include <optional>

#include "core/held_messages.h"
#include "core/model_checks.h"
#include "core/model_paths.h"
#include "core/run_state.h"
#include "core/text_reader.h"
#include "mf2005/model.h"
#include "mf2005/name_file.h"
#include "mf2005/name_file_kinds.h"
#include "mf6/model.h"
#include "modelset/model_file_set.h"
#include "modelset/name_file_model.h"
#include "session/model_loading.h"
#include "session/time_step_results.h"
#include "settings/settings_file.h"
#include "tracking/well_screens.h"

namespace kestra {
namespace {

// The open of one model family: reads the model of `path` into `opened`.
using FamilyOpen = bool (*)(const std::string& path, const OpenChoices& choices, OpenedModel& opened,
                            UserInterface& ui, const OpenStage& stage);

// Where the settings file says nothing of the sections, they go through the
// first pumping well of the first stress period, or else the middle of the
// grid: through what a user looks at first, not along its edge.
void PlaceDefaultSections(Session& session) {
  const ModelState& m = session.model;
  const std::vector<WellScreen> wells = PumpingWells(m, 1);
  const CellIndex at = wells.empty() ? CellIndex{static_cast<std::int16_t>((m.NCOL + 1) / 2),
                                                 static_cast<std::int16_t>((m.NROW + 1) / 2), 1}
                                     : wells.front().cells.front();
  session.settings.sectionColumn = at.column;
  session.settings.sectionRow = at.row;
}

// A fresh session for the model a family read: its settings from the
// model's own settings file, so that settings confirmed later never go into
// the file of another model; the model's HNOFLO and HDRY, where its input
// gives them, replace those of the file; the position the file and then
// `position` set replaces the model's.
Session NewSession(OpenedModel& opened, UserInterface& ui, const PositionChoice& position) {
  Session loaded;
  loaded.model = std::move(opened.model);
  ResetModelDefaults(loaded.model, loaded.busy);
  loaded.periods = std::move(opened.periods);
  loaded.settingsPath = FamilyOf(loaded.model).SiblingPath(".ini");
  ReadSettings(loaded.settingsPath, loaded.settings, ui);
  if (SectionsStored(loaded.settingsPath)) ClampSectionsToGrid(loaded.settings, loaded.model.NCOL, loaded.model.NROW);
  else PlaceDefaultSections(loaded);
  if (opened.HNOFLO) loaded.settings.HNOFLO = *opened.HNOFLO;
  if (opened.HDRY) loaded.settings.HDRY = *opened.HDRY;
  ReadTimeSettings(loaded.settingsPath, loaded.periods.timeUnit, loaded.tracking);
  ApplyPositionChoice(OverriddenPosition(ReadModelPosition(loaded.settingsPath), position), loaded.model);
  if (FamilyOf(loaded.model).TakesLayerPorosityFromSettings())
    if (const std::string ignored = IgnoredLayerPorosityText(loaded.settingsPath, loaded.model.NLAY); !ignored.empty())
      ui.ShowMessage(ignored, MessageIcon::Exclamation, kApplicationTitle);
  return loaded;
}

std::string WithoutResultsQuestion(const Session& incoming, const ModelState& open, const std::string& problems) {
  return "The results of " + incoming.model.ModelPath + " did not load whole:\n\n" + problems +
         "\n\nOpen the model without results? Its grid, boundary cells and maps are shown, but no particle can "
         "be tracked.\n\n" +
         (open.HasModel() ? "No keeps " + open.ModelTitleName + " open." : std::string("No opens nothing."));
}

// The results of the first time step of `incoming`. When the choices ask and
// its heads or flow terms did not load, the readers' messages go into one
// question: open the model without results, or keep the model `open`
// (false).
bool LoadFirstResults(Session& incoming, const ModelState& open, UserInterface& ui,
                      std::optional<LoadingDisplay>& display, const OpenChoices& choices) {
  if (!choices.askWithoutResults) {
    LoadFirstTimeStep(incoming, ui, *display);
    return true;
  }
  HeldMessages held(ui);
  LoadFirstTimeStep(incoming, held, *display);
  if (FlowFieldProblem(incoming).empty()) {
    held.ShowHeld();
    return true;
  }
  display.reset();
  ui.Beep();
  if (!ui.AskYesNo(WithoutResultsQuestion(incoming, open, held.HeldText()), kApplicationTitle)) return false;
  ForgetResults(incoming);
  return true;
}

bool OpenWithFamily(FamilyOpen open, const std::string& path, Session& session, UserInterface& ui,
                    OpenObserver& views, const OpenChoices& choices) {
  {
    std::optional<LoadingDisplay> display;
    const OpenStage stage = [&](int number) {
      if (!display) display.emplace(ui, FileNameOf(path));
      if (number > 0) display->Stage(number);
    };
    OpenedModel opened;
    if (!open(path, choices, opened, ui, stage)) {
      KeepPreviousModel(session, ui, views);
      return false;
    }
    if (const std::string problem = ModelNumbersProblem(opened.model, opened.periods); !problem.empty()) {
      Complain(ui, "The model " + path + " cannot be tracked in: " + problem + ".", MessageIcon::Exclamation,
               kApplicationTitle);
      KeepPreviousModel(session, ui, views);
      return false;
    }
    stage(0);  // a display, whatever stages the family reported
    Session incoming = NewSession(opened, ui, choices.position);
    if (!LoadFirstResults(incoming, session.model, ui, display, choices)) {
      KeepPreviousModel(session, ui, views);
      return false;
    }
    session = std::move(incoming);
  }
  ShowLoadedModel(session, ui, views);
  return true;
}

}  // namespace

bool OpenModelFile(const std::string& path, Session& session, UserInterface& ui, OpenObserver& views,
                   const OpenChoices& choices) {
  if (RefuseWhenBusy(session, ui) || path.empty()) return false;
  return OpenWithFamily(OpenModelFileSet, path, session, ui, views, choices);
}

bool ImportNameFile(const std::string& path, Session& session, UserInterface& ui, OpenObserver& views,
                    const OpenChoices& choices) {
  if (RefuseWhenBusy(session, ui) || path.empty()) return false;
  if (const std::string problem = TextInputProblem(path, "a name file"); !problem.empty()) {
    Complain(ui, "The name file cannot be read: " + problem + ".", MessageIcon::Exclamation, kApplicationTitle);
    KeepPreviousModel(session, ui, views);
    return false;
  }
  if (IsMf6NameFile(path)) return OpenWithFamily(OpenMf6Model, path, session, ui, views, choices);
  if (const std::string version = UnsupportedModflowVersion(path); !version.empty()) {
    Complain(ui, UnsupportedModflowText(path, version), MessageIcon::Exclamation, kApplicationTitle);
    KeepPreviousModel(session, ui, views);
    return false;
  }
  const FamilyOpen open = IsMf2005NameFile(path) ? OpenMf2005Model : OpenNameFileModel;
  return OpenWithFamily(open, path, session, ui, views, choices);
}

bool OpenOrImportModel(const std::string& path, Session& session, UserInterface& ui, OpenObserver& views,
                       const OpenChoices& choices) {
  return IsModelFilePath(path) ? OpenModelFile(path, session, ui, views, choices)
                               : ImportNameFile(path, session, ui, views, choices);
}

}  // namespace kestra
