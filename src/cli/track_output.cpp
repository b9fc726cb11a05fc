#include "cli/track_output.h"

#include <algorithm>
#include <utility>

#include "core/atomic_file.h"
#include "core/number_format.h"
#include "tracking/mp7_files.h"
#include "tracking/pathline_writer.h"
#include "tracking/replay_record.h"

namespace kestra::cli {
namespace {

// At most this many particle numbers in one message.
constexpr std::size_t kNumbersShown = 20;

std::string NumberList(const std::vector<int>& numbers) {
  std::string list;
  for (std::size_t n = 0; n < numbers.size() && n < kNumbersShown; ++n) list += (n ? "," : "") + NumberText(numbers[n]);
  if (numbers.size() > kNumbersShown) list += ", ...";
  return list;
}

}  // namespace

bool WriteReplayedPathlines(const std::string& path, TrackingRun& tracked, std::string& error) {
  ReplacingFile file(path);
  if (!file.IsOpen()) {
    error = file.Problem();
    return false;
  }
  PathlineWriter writer(file.Stream(), tracked.state.YEDGE[tracked.state.NROW]);
  ReplayParticlesTo(tracked, writer);
  if (file.Commit()) return true;
  error = file.Problem();
  return false;
}

bool ReportUntracked(const std::vector<Endpoint>& endpoints, const std::vector<int>& skipped,
                     const std::string& command, std::ostream& err) {
  std::vector<int> forward, backward;
  for (const Endpoint& e : endpoints)
    if (!e.tracked || e.end == TrackEnd::ThicknessFault) (e.direction > 0 ? forward : backward).push_back(e.particle);
  for (const auto& [numbers, direction] : {std::pair{&forward, "forward"}, std::pair{&backward, "backward"}})
    if (!numbers->empty())
      err << "kestra-cli " << command << ":" << NumberText(static_cast<int>(numbers->size()))
          << " particles not tracked " << direction
          << " to their end, a cell without saturated thickness stopped the run:"
          << NumberList(*numbers) << "\n";
  if (!skipped.empty())
    err << "kestra-cli " << command << ":" << NumberText(static_cast<int>(skipped.size()))
        << " particles of the particle file not tracked, their cell lies outside the grid; their places in the file:"
        << NumberList(skipped) << "\n";
  return forward.empty() && backward.empty() && skipped.empty();
}

std::string EndpointFileText(PathlineLayout layout, const ModelState& state, const std::vector<Endpoint>& endpoints,
                             int direction, double referenceTime, const Mp7Labels* labels, const std::string& note) {
  if (layout == PathlineLayout::Kestra) return EndpointCsvText(endpoints, note);
  std::string text;
  AppendMp7Endpoints(text, state, endpoints, direction, referenceTime, labels, note);
  return text;
}

}  // namespace kestra::cli
