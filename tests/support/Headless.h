// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "json/Json.h"
#include "support/TempFolder.h"

// Runs the program itself with the given arguments, after `env` (a command
// such as "env -u DISPLAY") when given; stdout, stderr and the exit status
// come back.
struct ProgramRun {
  std::string out, err;
  int status = -1;
};

inline ProgramRun RunQuovis(const std::string& args, const std::string& env = "") {
  namespace fs = std::filesystem;
  fs::path errFile = fs::temp_directory_path() / ("quovis_err_" + std::to_string(::getpid()));
  std::string command =
      env + " " + std::string(QUOVIS_BINARY) + " " + args + " 2>" + errFile.string();
  ProgramRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> chunk;
  size_t n;
  while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) run.out.append(chunk.data(), n);
  int raw = ::pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::ifstream err(errFile);
  run.err.assign(std::istreambuf_iterator<char>(err), {});
  fs::remove(errFile);
  return run;
}

// The whole of a file, empty when it cannot be read.
inline std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The records of a CSV text, each ended by CR LF, split at every comma (the
// texts of simulated boards need no quotes).
inline std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
    std::stringstream line(text.substr(at, end - at) + ",");
    rows.emplace_back();
    for (std::string field; std::getline(line, field, ',');) rows.back().push_back(field);
  }
  return rows;
}

// A board file in the temp folder, removed again at the end of the test.
struct BoardFileOnDisk {
  std::filesystem::path path;
  explicit BoardFileOnDisk(const std::string& json, const std::string& name = "board") {
    path = std::filesystem::temp_directory_path() /
           (name + "_" + std::to_string(::getpid()) + ".json");
    std::ofstream(path) << json;
  }
  ~BoardFileOnDisk() { std::filesystem::remove(path); }
  std::string bus() const { return "--bus=sim:" + path.string(); }
};

// The controls of the last JSON line of a headless run.
struct PollReport {
  Json doc;
  bool ok = false;
  explicit PollReport(const std::string& out) {
    std::string last = out;
    if (!last.empty() && last.back() == '\n') last.pop_back();
    last = last.substr(last.rfind('\n') == std::string::npos ? 0 : last.rfind('\n') + 1);
    std::string entry, why;
    ok = ParseJson(last, doc, entry, why);
    if (!ok) ADD_FAILURE() << entry << ": " << why << " in " << last;
  }
  std::string title() const { return doc.value("title", ""); }
  std::string field(const std::string& control, const std::string& key) const {
    const Json& v = doc.value("/controls"_json_pointer / control / key, Json());
    if (v.is_string()) return v.get<std::string>();
    if (v.is_boolean()) return v.get<bool>() ? "true" : "false";
    if (v.is_number()) return std::to_string(v.get<long>());
    return v.is_null() ? "<none>" : "<other>";
  }
};
