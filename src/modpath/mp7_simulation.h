// The MODPATH 7 simulation file (.mpsim): the kind of run, its output
// files, reference and stop times, time points, zones, retardation and the
// particle groups with their release times and starting locations.
#pragma once

#include <string>
#include <vector>

#include "core/cell_array.h"
#include "modpath/mp7_input.h"
#include "modpath/mp7_starting_locations.h"

namespace kestra {

enum class Mp7SimulationType { Endpoints = 1, Pathlines = 2, TimeSeries = 3, PathlinesAndTimeSeries = 4 };

struct Mp7ParticleGroup {
  std::string name;
  int releaseOption = 1;              // 1 one release, 2 several at an interval, 3 a list of times
  std::vector<double> releaseTimes;   // tracking times from the reference time
  std::string locationsFile;          // empty: the locations stood in the simulation file
};

struct Mp7Simulation {
  std::string path;
  std::string nameFile, listingFile, endpointFile, pathlineFile, timeSeriesFile, traceFile;
  Mp7SimulationType type = Mp7SimulationType::Endpoints;
  int trackingDirection = 1;  // 1 forward, 2 backward
  int weakSinkOption = 1;     // 1 pass through, 2 stop
  int weakSourceOption = 1;
  int budgetOutputOption = 0;
  int traceMode = 0;
  std::vector<int> budgetCells;
  int referenceTimeOption = 1;  // 1 a time; 2 a period, step and fraction of the step
  double referenceTime = 0;
  int referencePeriod = 1, referenceStep = 1;
  double referenceFraction = 0;
  int stopTimeOption = 2;  // 1 end of the simulation, 2 extend a steady last period, 3 a given time
  double stopTime = 0;
  int timePointOption = 0;
  std::vector<double> timePoints;
  int zoneDataOption = 1;  // 1 none, 2 zone arrays
  int stopZone = 0;
  std::vector<Mp7LayerArray> zones;
  int retardationOption = 1;  // 1 none, 2 arrays
  std::vector<Mp7LayerArray> retardation;
  std::vector<Mp7ParticleGroup> groups;
  std::vector<Mp7Particle> particles;  // the starting locations of all groups, one release each
};

// The MODPATH name file the simulation file names on its first line, as a
// path from the folder of the simulation file. False, with the reason, when
// the file cannot be read or has no such line.
bool ReadMp7NameFileEntry(const std::string& path, std::string& nameFile, std::string& problem);

// Reads the simulation file and the starting locations files it names,
// arrays over a grid of `shape`. File names are taken from the folder of
// the simulation file. False, with the file and line in `problem`.
bool ReadMp7Simulation(const std::string& path, const GridShape& shape, Mp7Simulation& simulation,
                       std::string& problem);

}  // namespace kestra
