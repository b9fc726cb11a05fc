// Runs kestra-cli commands in the test process, and reads what they wrote.
#pragma once

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/commands.h"
#include "support/temp_dir.h"

namespace kestra::cli {

// What a command line returned and wrote.
struct CommandResult {
  int code = 0;
  std::string out, err;
};

inline CommandResult RunLine(const Arguments& line) {
  std::ostringstream out, err;
  const int code = RunCommandLine(line, out, err);
  return {code, out.str(), err.str()};
}

// The exit code of `command` with `args`; what it said on the error stream
// goes to `errors` when given.
inline int RunCli(const std::string& command, const Arguments& args, std::string* errors = nullptr) {
  Arguments line{command};
  line.insert(line.end(), args.begin(), args.end());
  const CommandResult run = RunLine(line);
  if (errors) *errors = run.err;
  return run.code;
}

inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// How often `part` occurs in `text`.
inline int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

inline int Plot(const Arguments& args, std::string* errors = nullptr) { return RunCli("plot", args, errors); }

// Whether `command` with `args` ended with exit status 0; what it said on the
// error stream is the failure message.
inline testing::AssertionResult Succeeds(const std::string& command, const Arguments& args) {
  std::string errors;
  const int code = RunCli(command, args, &errors);
  if (code == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure() << command << " ended with " << code << ": " << errors;
}

// An argument list a command refuses, the exit status and the reason it names.
struct Refusal {
  Arguments args;
  int code;
  std::string reason;
};

inline void ExpectRefusals(const std::string& command, const std::vector<Refusal>& cases) {
  for (const Refusal& c : cases) {
    std::string errors;
    EXPECT_EQ(RunCli(command, c.args, &errors), c.code) << c.reason;
    EXPECT_NE(errors.find(c.reason), std::string::npos) << errors;
  }
}

// Each argument list of `command` is refused as a usage error that names its reason.
inline void ExpectRefused(const std::string& command, const std::vector<std::pair<Arguments, std::string>>& cases) {
  for (const auto& [args, reason] : cases) ExpectRefusals(command, {{args, 2, reason}});
}

// The path of `name` below the shared MODFLOW runs (tests/data).
inline std::string SharedRun(const std::string& name) { return (test::TestDataDir() / name).string(); }

// The lines of `text`, without their carriage returns.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

inline std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  return fields;
}

// The rows of an end point CSV file, its header left out.
inline std::vector<std::vector<std::string>> EndpointRows(const std::string& path) {
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : Lines(test::ReadWholeFile(path))) rows.push_back(CsvFields(line));
  if (!rows.empty()) rows.erase(rows.begin());
  return rows;
}

inline std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// A particle file with particles spread over the cells of a grid, `every`
// cells apart, at reproducible random places inside their cells; the whole
// set `repeat` times.
inline std::string ParticleFile(int columns, int rows, int layers, int every, int repeat = 1) {
  std::mt19937 random(5);
  std::uniform_real_distribution<float> local(0.02f, 0.98f);
  std::string lines;
  int count = 0;
  for (int copy = 0; copy < repeat; ++copy)
    for (int k = 1; k <= layers; ++k)
      for (int i = 1; i <= rows; i += every)
        for (int j = 1; j <= columns; j += every, ++count)
          lines += std::to_string(local(random)) + " " + std::to_string(local(random)) + " " +
                   std::to_string(local(random)) + " " + std::to_string(j) + " " + std::to_string(i) + " " +
                   std::to_string(k) + " 0 255 1\r\n";
  return "KESTRA_V100_PARTICLES\r\n " + std::to_string(count) + " \r\n" + lines;
}

}  // namespace kestra::cli
