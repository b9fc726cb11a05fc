// The steps an open and an import share once the model data are read: the
// loading display, the results of the first time step, the contour levels and
// layer colours, and the window's final state.
#pragma once

#include <string>

#include "core/user_interface.h"
#include "session/open_observer.h"
#include "session/session.h"

namespace kestra {

// The hourglass, the hint "Loading Data; Please Wait", the meter and the
// window title "KESTRA - [name] - loading" while the model file `titleName`
// loads; hourglass, hint and meter are gone again when the object ends.
class LoadingDisplay {
 public:
  LoadingDisplay(UserInterface& ui, const std::string& titleName);
  ~LoadingDisplay();
  LoadingDisplay(const LoadingDisplay&) = delete;
  LoadingDisplay& operator=(const LoadingDisplay&) = delete;
  // Advances the meter to stage 1..12.
  void Stage(int stage);

 private:
  UserInterface& ui_;
  Hourglass hourglass_;
};

// True, with a beep, while a drawing or tracking run is in progress.
bool RefuseWhenBusy(const Session& session, UserInterface& ui);

// "KESTRA - [name] (folder)" for a loaded model, "KESTRA" without one.
std::string WindowTitle(const ModelState& model);

// Sink cells, heads, flow terms (and the recharge package of an imported
// model), drawdowns, velocities when the flow terms loaded, result ranges,
// contour levels and layer properties of the session's freshly read model.
// Missing results are reported by their readers and leave the model partly
// loaded.
void LoadFirstTimeStep(Session& session, UserInterface& ui, LoadingDisplay& display);

// The window of a loaded model: view scales set up, views drawn, title,
// stress period and time step in the status panes.
void ShowLoadedModel(Session& session, UserInterface& ui, OpenObserver& views);

// An open or import was refused: the title of the model still loaded, whose
// views are redrawn unchanged.
void KeepPreviousModel(Session& session, UserInterface& ui, OpenObserver& views);

}  // namespace kestra
