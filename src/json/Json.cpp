#include "json/Json.h"

#include <set>
#include <vector>

namespace {

constexpr int kMaxDepth = 64;

// Where the reader is: one frame per open object or array.
class Path {
 public:
  struct Refused {
    std::string why;
  };

  bool Track(int depth, Json::parse_event_t event, const Json& parsed) {
    using Event = Json::parse_event_t;
    switch (event) {
      case Event::object_start:
      case Event::array_start:
        if (depth >= kMaxDepth) throw Refused{"nesting deeper than " + std::to_string(kMaxDepth)};
        frames_.emplace_back().array = event == Event::array_start;
        break;
      case Event::key: {
        Frame& object = frames_.back();
        object.key = parsed.get<std::string>();
        if (!object.keys.insert(object.key).second) throw Refused{"duplicate entry"};
        break;
      }
      case Event::object_end:
      case Event::array_end:
        frames_.pop_back();
        NextItem();
        break;
      case Event::value:
        NextItem();
        break;
    }
    return true;
  }

  // With `inLastItem` the innermost array names the item it read last (a
  // number whose text went on, as in 0x10) rather than the next one.
  std::string Text(bool inLastItem) const {
    std::string text;
    for (const Frame& f : frames_) {
      bool lastItem = inLastItem && &f == &frames_.back() && f.items > 0;
      if (f.array) text += "[" + std::to_string(lastItem ? f.items - 1 : f.items) + "]";
      else if (!f.keys.empty()) text += (text.empty() ? "" : ".") + f.key;
    }
    return text;
  }

 private:
  struct Frame {
    bool array = false;
    size_t items = 0;  // arrays: items read so far, the index of the next
    std::string key;   // objects: the member being read
    std::set<std::string> keys;
  };

  void NextItem() {
    if (!frames_.empty() && frames_.back().array) ++frames_.back().items;
  }

  std::vector<Frame> frames_;
};

// The number lexer stops at the x of 0x1C and calls the rest a bad literal.
bool IsHexNumber(const std::string& what) {
  for (const char* start : {"last read: '0x", "last read: '0X", "last read: '-0x", "last read: '-0X"})
    if (what.find(start) != std::string::npos) return true;
  return false;
}

// "line 1, column 14: syntax error ..." out of the library's message.
std::string Reason(const nlohmann::json::parse_error& e) {
  std::string what = e.what();
  const std::string at = "parse error at ";
  size_t start = what.find(at);
  std::string reason = start == std::string::npos ? what : what.substr(start + at.size());
  if (IsHexNumber(what)) reason += " (write a hexadecimal number as a string, e.g. \"0x1C\")";
  return reason;
}

}  // namespace

bool ParseJson(const std::string& text, Json& out, std::string& entry, std::string& why) {
  entry.clear();
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) {
    why = "malformed JSON, line 1, column 1: the file starts with a byte-order mark";
    return false;
  }
  Path path;
  try {
    out = Json::parse(
        text, [&](int depth, Json::parse_event_t event, Json& parsed) {
          return path.Track(depth, event, parsed);
        });
    return true;
  } catch (const Path::Refused& r) {
    why = r.why;
    entry = path.Text(false);
  } catch (const nlohmann::json::parse_error& e) {
    why = "malformed JSON, " + Reason(e);
    entry = path.Text(IsHexNumber(e.what()));
  }
  return false;
}

std::string JsonText(const Json& doc) {
  return doc.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}
