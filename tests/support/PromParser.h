// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

// A reader of the Prometheus text exposition format that refuses what a
// scraper would: a HELP or TYPE given twice or after the metric's samples, a
// sample before its TYPE or apart from the others of its metric, a label
// value escape other than \\, \" and \n, a value that is no float, a last
// line without its line feed.
struct PromSample {
  std::string name;
  std::map<std::string, std::string> labels;
  double value = 0;
};

struct PromDocument {
  std::vector<PromSample> samples;
  std::map<std::string, std::string> types, helps;
  std::string error;  // empty when the whole text was read

  // The one sample with this name and these labels among its own.
  const PromSample* Find(const std::string& name,
                         const std::map<std::string, std::string>& labels = {}) const {
    const PromSample* found = nullptr;
    for (const auto& s : samples) {
      bool match = s.name == name;
      for (const auto& [k, v] : labels) match = match && s.labels.count(k) && s.labels.at(k) == v;
      if (match && found) return nullptr;
      if (match) found = &s;
    }
    return found;
  }
};

inline PromDocument ParseProm(const std::string& text) {
  PromDocument doc;
  std::set<std::string> sampled;
  auto fail = [&](const std::string& why, const std::string& line) {
    doc.error = why + ": " + line;
    return doc;
  };
  if (!text.empty() && text.back() != '\n') return fail("no line feed at the end", "");
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = text.find('\n', start);
    const std::string line = text.substr(start, end - start);
    if (line.rfind("# HELP ", 0) == 0 || line.rfind("# TYPE ", 0) == 0) {
      const std::string name = line.substr(7, line.find(' ', 7) - 7);
      auto& seen = line[2] == 'H' ? doc.helps : doc.types;
      if (seen.count(name) || sampled.count(name)) return fail("misplaced", line);
      seen[name] = line.substr(8 + name.size());
      continue;
    }
    PromSample s;
    size_t i = line.find_first_of("{ ");
    s.name = line.substr(0, i);
    if (!doc.types.count(s.name)) return fail("sample before its TYPE", line);
    if (sampled.count(s.name) && doc.samples.back().name != s.name)
      return fail("samples not together", line);
    for (; i < line.size() && line[i] != ' ' && line[i] != '}'; ++i) {  // at `{` or `,`
      const size_t eq = line.find("=\"", i);
      if (eq == std::string::npos) return fail("bad label", line);
      std::string& value = s.labels[line.substr(i + 1, eq - i - 1)];
      for (i = eq + 2; i < line.size() && line[i] != '"'; ++i) {
        char c = line[i];
        if (c == '\\') {
          c = ++i < line.size() ? line[i] : 0;
          if (c != '\\' && c != '"' && c != 'n') return fail("bad escape", line);
          if (c == 'n') c = '\n';
        }
        value += c;
      }
    }
    if (i < line.size() && line[i] == '}') ++i;
    char* rest = nullptr;
    if (i >= line.size() || line[i] != ' ' || line.substr(i, 2) == "  ")
      return fail("no value", line);
    s.value = std::strtod(line.c_str() + i + 1, &rest);
    if (rest == line.c_str() + i + 1 || *rest) return fail("bad value", line);
    sampled.insert(s.name);
    doc.samples.push_back(s);
  }
  return doc;
}
