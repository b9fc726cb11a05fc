#include "cli/time_step_option.h"

#include "core/number_format.h"
#include "session/time_step_results.h"

namespace kestra::cli {

bool LoadChosenTimeStep(const TimeStepChoice& choice, Session& session, UserInterface& ui, const std::string& command,
                        std::ostream& err) {
  if (!choice.period) return true;
  const int period = *choice.period;
  const int step = choice.step.value_or(1);
  if (period > session.periods.NPER || step > session.periods.NSTP[period]) {
    err << "kestra-cli " << command << ": the model has no time step" << NumberText(step) << " in stress period"
        << NumberText(period) << "\n";
    return false;
  }
  ModelState& model = session.model;
  model.CurrentPeriod = period;
  model.CurrentStep = step;
  session.loaded = LoadTimeStepResults(model, session.settings, session.tracking, ui, StepResults::All);
  return true;
}

}  // namespace kestra::cli
