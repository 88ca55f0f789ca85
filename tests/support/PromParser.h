// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cmath>
#include <cstdlib>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

// A strict reader of the Prometheus text exposition format (version 0.0.4):
// "# HELP name text" and "# TYPE name type" at most once each per metric and
// before its samples, the samples of a metric together, metric and label
// names of the allowed characters, label values with only \\, \" and \n
// escapes, values as Go floats (NaN, +Inf, -Inf), every line ended by LF.
struct PromSample {
  std::string name;
  std::map<std::string, std::string> labels;
  double value = 0;
};

struct PromDocument {
  std::vector<PromSample> samples;
  std::map<std::string, std::string> types, helps;
  std::string error;  // empty when the whole text was read

  // The value of the one sample with this name and these labels among its own.
  const PromSample* Find(const std::string& name,
                         const std::map<std::string, std::string>& labels = {}) const {
    const PromSample* found = nullptr;
    for (const auto& s : samples) {
      if (s.name != name) continue;
      bool match = true;
      for (const auto& [k, v] : labels) match &= s.labels.count(k) && s.labels.at(k) == v;
      if (!match) continue;
      if (found) return nullptr;
      found = &s;
    }
    return found;
  }
};

inline PromDocument ParseProm(const std::string& text) {
  PromDocument doc;
  static const std::regex metricName("[a-zA-Z_:][a-zA-Z0-9_:]*");
  static const std::regex labelName("[a-zA-Z_][a-zA-Z0-9_]*");
  static const std::regex floatValue(R"([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?|NaN|[+-]Inf)");
  static const std::set<std::string> kinds = {"counter", "gauge", "histogram", "summary",
                                              "untyped"};
  std::set<std::string> sampled, finished;
  std::string current;
  size_t start = 0;
  int lineNo = 0;
  auto fail = [&](const std::string& why) {
    doc.error = "line " + std::to_string(lineNo) + ": " + why;
    return doc;
  };
  if (!text.empty() && text.back() != '\n') return fail("no line feed at the end");
  while (start < text.size()) {
    ++lineNo;
    size_t end = text.find('\n', start);
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (line.empty()) continue;
    if (line[0] == '#') {
      std::smatch m;
      static const std::regex comment(R"(# (HELP|TYPE) (\S+) (.*))");
      if (!std::regex_match(line, m, comment)) continue;  // a plain comment
      std::string name = m[2];
      if (!std::regex_match(name, metricName)) return fail("bad metric name " + name);
      if (sampled.count(name)) return fail(std::string(m[1]) + " after the samples of " + name);
      auto& seen = m[1] == "HELP" ? doc.helps : doc.types;
      if (seen.count(name)) return fail("second " + std::string(m[1]) + " for " + name);
      if (m[1] == "TYPE" && !kinds.count(m[3])) return fail("unknown type " + std::string(m[3]));
      seen[name] = m[3];
      continue;
    }
    PromSample s;
    size_t i = 0;
    while (i < line.size() && line[i] != '{' && line[i] != ' ') ++i;
    s.name = line.substr(0, i);
    if (!std::regex_match(s.name, metricName)) return fail("bad metric name " + s.name);
    if (i < line.size() && line[i] == '{') {
      ++i;
      while (i < line.size() && line[i] != '}') {
        size_t eq = line.find('=', i);
        if (eq == std::string::npos) return fail("label without =");
        std::string label = line.substr(i, eq - i);
        if (!std::regex_match(label, labelName)) return fail("bad label name " + label);
        if (s.labels.count(label)) return fail("label twice: " + label);
        i = eq + 1;
        if (i >= line.size() || line[i] != '"') return fail("label value not quoted");
        std::string value;
        for (++i;; ++i) {
          if (i >= line.size()) return fail("unterminated label value");
          char c = line[i];
          if (c == '"') break;
          if (c == '\\') {
            const char e = i + 1 < line.size() ? line[++i] : 0;
            if (e != '\\' && e != '"' && e != 'n') return fail("bad escape in a label value");
            c = e == 'n' ? '\n' : e;
          }
          value += c;
        }
        s.labels[label] = value;
        ++i;
        if (i < line.size() && line[i] == ',') ++i;
      }
      if (i >= line.size()) return fail("labels not closed");
      ++i;
    }
    if (i >= line.size() || line[i] != ' ') return fail("no blank before the value");
    std::string rest = line.substr(i + 1);
    std::string value = rest.substr(0, rest.find(' '));
    if (!std::regex_match(value, floatValue)) return fail("bad value " + value);
    if (rest.find(' ') != std::string::npos &&
        !std::regex_match(rest.substr(rest.find(' ') + 1), std::regex("-?\\d+")))
      return fail("bad timestamp");
    s.value = value == "NaN"    ? NAN
              : value == "+Inf" ? INFINITY
              : value == "-Inf" ? -INFINITY
                                : std::strtod(value.c_str(), nullptr);
    if (s.name != current) {
      if (finished.count(s.name) || sampled.count(s.name))
        return fail("samples of " + s.name + " not together");
      if (!current.empty()) finished.insert(current);
      current = s.name;
    }
    if (!doc.types.count(s.name)) return fail("sample of " + s.name + " before its TYPE");
    sampled.insert(s.name);
    doc.samples.push_back(s);
  }
  return doc;
}
