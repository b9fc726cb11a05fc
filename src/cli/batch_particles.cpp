#include "cli/batch_particles.h"

#include <algorithm>

#include "cli/batch_model.h"
#include "core/text_reader.h"
#include "tracking/particle_file.h"

namespace kestra::cli {
namespace {

// A file of a million wrong lines would bury the error stream.
constexpr std::size_t kFaultsNamed = 20;

void ReportFaults(const std::string& path, const std::vector<ParticleFault>& faults, const std::string& prefix,
                  std::ostream& err) {
  for (std::size_t n = 0; n < std::min(faults.size(), kFaultsNamed); ++n) {
    const ParticleFault& fault = faults[n];
    err << prefix << path << ", line " << fault.line << ", " << fault.field << ": " << fault.reason
        << (fault.place > 0 ? " (particle " + std::to_string(fault.place) + ")" : "") << "\n";
  }
  if (faults.size() > kFaultsNamed) err << prefix << "and " << faults.size() - kFaultsNamed << " more\n";
}

}  // namespace

BatchParticles ReadBatchParticleFile(const std::string& path, const ModelState& model, ParticleSet& particles,
                                     const std::string& command, std::ostream& err) {
  const std::string prefix = "kestra-cli " + command + ": ";
  if (const std::string problem = TextInputProblem(path, "a particle file"); !problem.empty()) {
    err << prefix << problem << "\n";
    return {};
  }
  PrintingInterface ui(err, command);
  std::vector<ParticleFault> faults;
  if (!ReadParticleFile(path, model, particles, ui, ParticleLimit::None, &faults)) {
    err << prefix << "the particles of " << path << " were not read\n";
    return {};
  }
  ReportFaults(path, faults, prefix, err);
  BatchParticles read;
  read.usable = std::all_of(faults.begin(), faults.end(), [](const ParticleFault& f) { return f.outsideGrid; });
  if (!read.usable) {
    err << prefix << path << " holds values that cannot be used; no particle was tracked\n";
    return read;
  }
  for (const ParticleFault& fault : faults)
    if (read.outsideGrid.empty() || read.outsideGrid.back() != fault.place) read.outsideGrid.push_back(fault.place);
  return read;
}

}  // namespace kestra::cli
