#include "input/main_file.h"
#include "input/mf2005_model.h"
#include "input/mf2005_name_file.h"
#include "input/model_loading.h"
#include "input/model_paths.h"
#include "input/name_file.h"
#include "input/name_file_kinds.h"
#include "input/open_model.h"
#include "settings/settings_file.h"

namespace kestra {
namespace {

std::string ImportSettingsPath(const std::string& nameFilePath) { return PathWithoutExtension(nameFilePath) + ".ini"; }

// Settings of an imported model from its own settings file, so that settings
// confirmed later never go into the file of another model. HNOFLO and HDRY
// are the model's and replace those of the file.
void ReadImportSettings(const std::string& path, float HNOFLO, float HDRY, Session& loaded, UserInterface& ui) {
  loaded.settingsPath = ImportSettingsPath(path);
  ReadSettings(loaded.settingsPath, loaded.settings, ui);
  ClampSectionsToGrid(loaded.settings, loaded.model.NCOL, loaded.model.NROW);
  loaded.settings.HNOFLO = HNOFLO;
  loaded.settings.HDRY = HDRY;
  ReadTimeSettings(loaded.settingsPath, loaded.periods.timeUnit, loaded.tracking);
}

// A fresh session for a model of the pre-processor's name file.
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
  loaded.periods = std::move(contents.periods);
  ReadImportSettings(path, contents.HNOFLO, contents.HDRY, loaded, ui);
  return loaded;
}

// A fresh session for a standard MODFLOW-2005 model.
Session NewMf2005Session(const Mf2005Model& read, UserInterface& ui) {
  Session loaded;
  CopyMf2005Model(read, loaded.model, loaded.settings, loaded.periods);
  ResetModelDefaults(loaded.model, loaded.busy);
  ReadImportSettings(read.nameFilePath, read.HNOFLO, read.HDRY, loaded, ui);
  return loaded;
}

bool ImportPreprocessorModel(const std::string& path, Session& session, UserInterface& ui, OpenObserver& views,
                             const LayerPorosity& layerPorosity) {
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
    ApplyLayerPorosity(layerPorosity, contents.model.POROSITY);
    display.Stage(6);
    session = NewImportSession(path, entries, contents, ui);
    LoadFirstTimeStep(session, ui, views, display);
  }
  ShowLoadedModel(session, ui, views);
  return true;
}

bool ImportMf2005Model(const std::string& path, Session& session, UserInterface& ui, OpenObserver& views,
                       const LayerPorosity& layerPorosity) {
  {
    LoadingDisplay display(ui, FileNameOf(path));
    Mf2005Model read;
    const LayerPorosity porosity = Overridden(ReadLayerPorosity(ImportSettingsPath(path)), layerPorosity);
    if (!ReadMf2005Model(path, read, ui, porosity)) {
      KeepPreviousModel(session, ui, views);
      return false;
    }
    display.Stage(6);
    session = NewMf2005Session(read, ui);
    LoadFirstTimeStep(session, ui, views, display);
  }
  ShowLoadedModel(session, ui, views);
  return true;
}

}  // namespace

bool ImportNameFile(const std::string& path, Session& session, UserInterface& ui, OpenObserver& views,
                    const LayerPorosity& layerPorosity) {
  if (RefuseWhenBusy(session, ui) || path.empty()) return false;
  if (const std::string version = UnsupportedModflowVersion(path); !version.empty()) {
    Complain(ui, UnsupportedModflowText(path, version), MessageIcon::Exclamation, kApplicationTitle);
    KeepPreviousModel(session, ui, views);
    return false;
  }
  return IsMf2005NameFile(path) ? ImportMf2005Model(path, session, ui, views, layerPorosity)
                                : ImportPreprocessorModel(path, session, ui, views, layerPorosity);
}

}  // namespace kestra
