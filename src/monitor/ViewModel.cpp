#include "monitor/ViewModel.h"

#include <cctype>
#include <cstdio>

#include "sim/Json.h"

std::string ColorText(int32_t color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF,
                (color >> 16) & 0xFF);
  return text;
}

std::string ViewModelJson(const ViewModel& model) {
  std::string out = "{\"title\":" + JsonQuote(model.title) +
                    ",\"answering\":" + (model.answering ? "true" : "false") + ",\"controls\":{";
  bool first = true;
  for (const auto& name : model.order) {
    const Control& c = model[name];
    if (!first) out += ",";
    first = false;
    out += JsonQuote(name) + ":{\"text\":" + JsonQuote(c.text) +
           ",\"visible\":" + (c.visible ? "true" : "false");
    if (!c.tooltip.empty()) out += ",\"tooltip\":" + JsonQuote(c.tooltip);
    if (c.fore) out += ",\"fore\":\"" + ColorText(*c.fore) + "\"";
    if (c.back) out += ",\"back\":\"" + ColorText(*c.back) + "\"";
    if (c.checked) out += std::string(",\"checked\":") + (*c.checked ? "true" : "false");
    if (c.kind == "check" || c.kind == "button" || c.kind == "slider")
      out += std::string(",\"enabled\":") + (c.enabled ? "true" : "false");
    if (c.kind == "frame" || c.kind == "label") out += ",\"width\":" + std::to_string(c.width);
    if (c.kind == "bar" || c.kind == "slider")
      out += ",\"min\":" + std::to_string(c.min) + ",\"max\":" + std::to_string(c.max) +
             ",\"value\":" + std::to_string(c.value);
    if (c.color) out += ",\"color\":\"" + ColorText(*c.color) + "\"";
    out += "}";
  }
  return out + "}}";
}

std::string ModelProblem(const ViewModel& model) {
  for (const auto& [name, c] : model.controls) {
    for (const std::string* text : {&c.text, &c.tooltip}) {
      std::string lower;
      for (char ch : *text) lower += char(std::tolower(static_cast<unsigned char>(ch)));
      if (lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos)
        return name + " shows \"" + *text + "\"";
    }
  }
  Json doc;
  std::string error;
  if (!ParseJson(ViewModelJson(model), doc, error)) return "report is not JSON: " + error;
  return "";
}
