#pragma once
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "monitor/ViewModel.h"
#include "sim/Json.h"

// The window model after any poll: every text free of "inf"/"nan" posing as
// numbers, and the JSON report well-formed.
inline void CheckModel(const ViewModel& model) {
  for (const auto& [name, c] : model.controls) {
    for (const std::string* text : {&c.text, &c.tooltip}) {
      std::string lower;
      for (char ch : *text) lower += char(std::tolower(static_cast<unsigned char>(ch)));
      if (lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos) {
        std::fprintf(stderr, "%s shows \"%s\"\n", name.c_str(), text->c_str());
        std::abort();
      }
    }
  }
  Json doc;
  std::string error;
  if (!ParseJson(ViewModelJson(model), doc, error)) {
    std::fprintf(stderr, "report is not JSON: %s\n", error.c_str());
    std::abort();
  }
}
