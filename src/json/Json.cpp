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

  std::string Text() const {
    std::string text;
    for (const Frame& f : frames_) {
      if (f.array) text += "[" + std::to_string(f.items) + "]";
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

// "line 1, column 14: syntax error ..." out of the library's message.
std::string Reason(const nlohmann::json::parse_error& e) {
  std::string what = e.what();
  const std::string at = "parse error at ";
  size_t start = what.find(at);
  std::string reason = start == std::string::npos ? what : what.substr(start + at.size());
  // The number lexer stops at the x of 0x1C and calls the rest a bad literal.
  if (reason.find("last read: '0x") != std::string::npos ||
      reason.find("last read: '0X") != std::string::npos ||
      reason.find("last read: '-0x") != std::string::npos)
    reason += " (write a hexadecimal number as a string, e.g. \"0x1C\")";
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
  } catch (const nlohmann::json::parse_error& e) {
    why = "malformed JSON, " + Reason(e);
  }
  entry = path.Text();
  return false;
}

std::string JsonText(const Json& doc) {
  return doc.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}
