#include "input/main_file.h"
#include "input/model_loading.h"
#include "input/model_paths.h"
#include "input/name_file.h"
#include "input/open_model.h"
#include "settings/settings_file.h"

namespace kestra {
namespace {

// A fresh session for the imported model. Its settings file is its own, so
// that settings confirmed later never go into the file of another model.
Session NewImportSession(const std::string& path, const NameFileEntries& entries, MainFileContents& contents,
                         UserInterface& ui) {
  Session loaded;
  ModelState& model = loaded.model;
  model = std::move(contents.model);
  model.ModelPath = path;
  model.ModelTitleName = FileNameOf(path);
  model.importedFromNameFile = true;
  model.packages = entries.packages;
  model.nameFileHasEvapotranspiration = !entries.evapotranspiration.empty();
  model.BudgetPath = entries.budget;
  model.HeadPath = entries.heads;
  model.DrawdownPath = entries.drawdowns;
  ResetModelDefaults(model, loaded.busy);
  loaded.settingsPath = PathWithoutExtension(path) + ".ini";
  ReadSettings(loaded.settingsPath, loaded.settings, ui);
  ClampSectionsToGrid(loaded.settings, model.NCOL, model.NROW);
  loaded.settings.HNOFLO = contents.HNOFLO;
  loaded.settings.HDRY = contents.HDRY;
  loaded.periods = std::move(contents.periods);
  ReadTimeSettings(loaded.settingsPath, loaded.periods.timeUnit, loaded.tracking);
  return loaded;
}

}  // namespace

bool ImportNameFile(const std::string& path, Session& session, UserInterface& ui, OpenObserver& views) {
  if (RefuseWhenBusy(session, ui) || path.empty()) return false;
  NameFileEntries entries;
  if (!ReadNameFile(path, entries, ui)) {
    KeepPreviousModel(session, ui, views);
    return false;
  }
  {
    LoadingDisplay display(ui, FileNameOf(path));
    MainFileContents contents;
    if (!ReadMainFile(entries.main, contents, ui)) {
      KeepPreviousModel(session, ui, views);
      return false;
    }
    display.Stage(6);
    session = NewImportSession(path, entries, contents, ui);
    LoadFirstTimeStep(session, ui, views, display);
  }
  ShowLoadedModel(session, ui, views);
  return true;
}

}  // namespace kestra
