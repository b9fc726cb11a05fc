#include "modpath/mp7_simulation.h"

#include <filesystem>
#include <optional>

#include "core/text_reader.h"

namespace kestra {
namespace {

constexpr int kMaxCount = 10'000'000;
constexpr int kMaxGroups = 100'000;

class SimulationReader {
 public:
  SimulationReader(Mp7Input& input, const GridShape& shape, Mp7Simulation& s) : in_(input), shape_(shape), s_(s) {}

  bool Read() {
    return ReadFiles() && ReadBudgetCells() && ReadReferenceTime() && ReadStopTime() && ReadTimePoints() &&
           ReadZones() && ReadRetardation() && ReadGroups();
  }

 private:
  bool ReadFiles() {
    std::vector<int> options;
    if (!in_.Word(s_.nameFile, "the MODPATH name file") || !in_.Word(s_.listingFile, "the listing file") ||
        !in_.Integers(6, options, "the simulation type, direction, weak sink, weak source, budget and trace options",
                      0, 4))
      return false;
    const bool valid = options[0] >= 1 && options[1] >= 1 && options[1] <= 2 && options[2] >= 1 && options[2] <= 2 &&
                       options[3] >= 1 && options[3] <= 2 && options[5] <= 1;
    if (!valid)
      return in_.Fail("the simulation type is 1 to 4, the direction 1 or 2, the weak sink and source options 1 or 2 "
                      "and the trace mode 0 or 1.");
    s_.type = static_cast<Mp7SimulationType>(options[0]);
    s_.trackingDirection = options[1];
    s_.weakSinkOption = options[2];
    s_.weakSourceOption = options[3];
    s_.budgetOutputOption = options[4];
    s_.traceMode = options[5];
    if (!in_.Word(s_.endpointFile, "the end point file")) return false;
    if (WritesPathlines() && !in_.Word(s_.pathlineFile, "the pathline file")) return false;
    if (WritesTimeSeries() && !in_.Word(s_.timeSeriesFile, "the time series file")) return false;
    if (s_.traceMode == 1) {
      std::vector<int> particle;
      if (!in_.Word(s_.traceFile, "the trace file") || !in_.Integers(2, particle, "the traced group and particle", 1, kMaxCount))
        return false;
    }
    return true;
  }

  bool WritesPathlines() const {
    return s_.type == Mp7SimulationType::Pathlines || s_.type == Mp7SimulationType::PathlinesAndTimeSeries;
  }
  bool WritesTimeSeries() const {
    return s_.type == Mp7SimulationType::TimeSeries || s_.type == Mp7SimulationType::PathlinesAndTimeSeries;
  }

  bool ReadBudgetCells() {
    int count = 0;
    std::vector<double> cells;
    if (!in_.Integer(count, "the budget cell count", 0, kMaxCount) ||
        !in_.Numbers(static_cast<std::size_t>(count), cells, "the budget cells"))
      return false;
    s_.budgetCells.assign(cells.begin(), cells.end());
    return true;
  }

  bool ReadReferenceTime() {
    if (!in_.Integer(s_.referenceTimeOption, "the reference time option", 1, 2)) return false;
    if (s_.referenceTimeOption == 1) return NonNegative(s_.referenceTime, "the reference time");
    std::vector<double> v;
    if (!in_.Numbers(3, v, "the reference period, step and time fraction")) return false;
    if (v[0] < 1 || v[1] < 1 || v[0] > kMaxCount || v[1] > kMaxCount || v[2] < 0 || v[2] > 1)
      return in_.Fail("the reference period and step start at 1 and the time fraction lies from 0 to 1.");
    s_.referencePeriod = static_cast<int>(v[0]);
    s_.referenceStep = static_cast<int>(v[1]);
    s_.referenceFraction = v[2];
    return true;
  }

  bool ReadStopTime() {
    if (!in_.Integer(s_.stopTimeOption, "the stop time option", 1, 3)) return false;
    return s_.stopTimeOption != 3 || NonNegative(s_.stopTime, "the stop time");
  }

  // Option 1: a count and an interval, the first point one interval on;
  // option 2: a count and the times.
  bool ReadTimePoints() {
    if (!WritesTimeSeries()) return true;
    if (!in_.Integer(s_.timePointOption, "the time point option", 1, 2)) return false;
    if (s_.timePointOption == 2) return ReadTimeList(s_.timePoints, "time points");
    std::vector<double> head;
    if (!in_.Numbers(2, head, "the time point count and interval")) return false;
    if (head[0] < 1 || head[0] > kMaxCount || head[0] != static_cast<double>(static_cast<int>(head[0])) || !(head[1] > 0))
      return in_.Fail("the time point count is a whole number from 1 and the interval is positive.");
    for (int n = 1; n <= static_cast<int>(head[0]); ++n) s_.timePoints.push_back(n * head[1]);
    return true;
  }

  bool ReadZones() {
    if (!in_.Integer(s_.zoneDataOption, "the zone data option", 1, 2)) return false;
    if (s_.zoneDataOption == 1) return true;
    return in_.Integer(s_.stopZone, "the stop zone", 0, kMaxCount) && ReadMp7Array(in_, shape_, s_.zones, "the zones");
  }

  bool ReadRetardation() {
    if (!in_.Integer(s_.retardationOption, "the retardation factor option", 1, 2)) return false;
    return s_.retardationOption == 1 || ReadMp7Array(in_, shape_, s_.retardation, "the retardation factors");
  }

  bool ReadGroups() {
    int count = 0;
    if (!in_.Integer(count, "the particle group count", 1, kMaxGroups)) return false;
    for (int g = 0; g < count; ++g)
      if (!ReadGroup(g)) return false;
    return true;
  }

  bool ReadGroup(int index) {
    Mp7ParticleGroup group;
    if (!in_.Word(group.name, "the name of particle group " + std::to_string(index + 1)) ||
        !in_.Integer(group.releaseOption, "the release option", 1, 3))
      return false;
    if (group.releaseOption == 1) {
      double time = 0;
      if (!NonNegative(time, "the release time")) return false;
      group.releaseTimes = {time};
    } else if (group.releaseOption == 2) {
      std::vector<double> head;
      if (!in_.Numbers(3, head, "the release count, first time and interval")) return false;
      if (head[0] < 1 || head[0] > kMaxCount || head[0] != static_cast<double>(static_cast<int>(head[0])) || head[1] < 0 || head[2] < 0)
        return in_.Fail("the release count is a whole number from 1 and the times are not negative.");
      for (int n = 0; n < static_cast<int>(head[0]); ++n) group.releaseTimes.push_back(head[1] + n * head[2]);
    } else if (!ReadTimeList(group.releaseTimes, "release times")) {
      return false;
    }
    s_.groups.push_back(group);
    return ReadLocations(index);
  }

  bool ReadTimeList(std::vector<double>& times, const std::string& what) {
    int count = 0;
    return in_.Integer(count, "the count of " + what, 1, kMaxCount) &&
           in_.Numbers(static_cast<std::size_t>(count), times, "the " + what);
  }

  bool ReadLocations(int index) {
    std::string line;
    if (!in_.NextLine(line)) return in_.Fail("the file ends before the starting locations.");
    const std::vector<std::string> fields = Mp7Fields(line);
    const std::string keyword = fields.empty() ? "" : UpperCase(fields[0]);
    if (keyword == "INTERNAL") return ReadMp7StartingLocations(in_, shape_, index, s_.particles);
    if (keyword != "EXTERNAL" || fields.size() < 2)
      return in_.Fail("the starting locations are INTERNAL or EXTERNAL and a file name.");
    Mp7ParticleGroup& group = s_.groups.back();
    group.locationsFile = (std::filesystem::path(in_.Folder()) / fields[1]).string();
    std::string problem;
    std::optional<Mp7Input> locations = Mp7Input::Open(group.locationsFile, problem);
    if (!locations) return in_.Fail(problem);
    if (ReadMp7StartingLocations(*locations, shape_, index, s_.particles)) return true;
    return in_.Fail(locations->Problem());
  }

  bool NonNegative(double& value, const std::string& what) {
    if (!in_.Number(value, what)) return false;
    return value >= 0 || in_.Fail(what + " is negative.");
  }

  Mp7Input& in_;
  const GridShape& shape_;
  Mp7Simulation& s_;
};

}  // namespace

bool ReadMp7NameFileEntry(const std::string& path, std::string& nameFile, std::string& problem) {
  std::optional<Mp7Input> input = Mp7Input::Open(path, problem);
  if (!input) return false;
  std::string word;
  if (!input->Word(word, "the MODPATH name file")) {
    problem = input->Problem();
    return false;
  }
  nameFile = (std::filesystem::path(input->Folder()) / word).string();
  return true;
}

bool ReadMp7Simulation(const std::string& path, const GridShape& shape, Mp7Simulation& simulation,
                       std::string& problem) {
  std::optional<Mp7Input> input = Mp7Input::Open(path, problem);
  if (!input) return false;
  Mp7Simulation read;
  read.path = path;
  if (!SimulationReader(*input, shape, read).Read()) {
    problem = input->Problem();
    return false;
  }
  simulation = std::move(read);
  return true;
}

}  // namespace kestra
