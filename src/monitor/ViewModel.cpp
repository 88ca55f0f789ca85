// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/ViewModel.h"

#include <cstdio>

#include "json/Json.h"
#include "numbers/Format.h"

std::string ColorText(int32_t color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF,
                (color >> 16) & 0xFF);
  return text;
}

std::string ViewModelJson(const ViewModel& model) {
  Json controls = Json::object();
  for (const auto& name : model.order) {
    const Control& c = model[name];
    Json& out = controls[name];
    out["text"] = c.text;
    out["visible"] = c.visible;
    if (!c.tooltip.empty()) out["tooltip"] = c.tooltip;
    if (c.fore) out["fore"] = ColorText(*c.fore);
    if (c.back) out["back"] = ColorText(*c.back);
    if (c.checked) out["checked"] = *c.checked;
    if (c.kind == "check" || c.kind == "button" || c.kind == "slider") out["enabled"] = c.enabled;
    if (c.kind == "frame" || c.kind == "label") out["width"] = c.width;
    if (c.kind == "bar" || c.kind == "slider") {
      out["min"] = c.min;
      out["max"] = c.max;
      out["value"] = c.value;
    }
    if (c.color) out["color"] = ColorText(*c.color);
  }
  Json report;
  report["title"] = model.title;
  report["answering"] = model.answering;
  report["controls"] = std::move(controls);
  return JsonText(report);
}

std::string ModelProblem(const ViewModel& model) {
  for (const auto& [name, c] : model.controls) {
    for (const std::string* text : {&c.text, &c.tooltip}) {
      const std::string lower = LowerCase(*text);
      if (lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos)
        return name + " shows \"" + *text + "\"";
    }
  }
  Json doc;
  std::string entry, why;
  if (!ParseJson(ViewModelJson(model), doc, entry, why))
    return "report is not JSON: " + (entry.empty() ? "" : entry + ": ") + why;
  return "";
}
