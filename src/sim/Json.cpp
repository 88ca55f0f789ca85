#include "sim/Json.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

const Json* Json::Find(const std::string& key) const {
  for (const auto& [name, value] : members)
    if (name == key) return &value;
  return nullptr;
}

namespace {

class Parser {
 public:
  explicit Parser(const std::string& s) : s_(s) {}

  bool Document(Json& out, std::string& error) {
    if (!Parse(out, 0)) {
      error = Where() + ": " + error_;
      return false;
    }
    Skip();
    if (pos_ != s_.size()) {
      error = Where() + ": unexpected text after the document";
      return false;
    }
    return true;
  }

 private:
  static constexpr int kMaxDepth = 64;

  std::string Where() const {
    int line = 1, col = 1;
    for (size_t i = 0; i < pos_ && i < s_.size(); ++i) {
      if (s_[i] == '\n') ++line, col = 1;
      else ++col;
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(col);
  }
  bool Fail(const std::string& why) {
    error_ = why;
    return false;
  }
  void Skip() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' ||
                                s_[pos_] == '\r'))
      ++pos_;
  }
  bool Literal(const char* word) {
    size_t n = std::char_traits<char>::length(word);
    if (s_.compare(pos_, n, word) != 0) return false;
    pos_ += n;
    return true;
  }

  bool Parse(Json& out, int depth) {
    if (depth > kMaxDepth) return Fail("nesting too deep");
    Skip();
    if (pos_ >= s_.size()) return Fail("unexpected end of file");
    char c = s_[pos_];
    if (c == '{') return Object(out, depth);
    if (c == '[') return Array(out, depth);
    if (c == '"') {
      out.type = Json::Type::String;
      return String(out.text);
    }
    if (Literal("true")) {
      out.type = Json::Type::Bool, out.boolean = true;
      return true;
    }
    if (Literal("false")) {
      out.type = Json::Type::Bool, out.boolean = false;
      return true;
    }
    if (Literal("null")) {
      out.type = Json::Type::Null;
      return true;
    }
    if (c == '-' || (c >= '0' && c <= '9')) return Number(out);
    return Fail(std::string("unexpected character '") + c + "'");
  }

  bool Number(Json& out) {
    // from_chars reads a '.' point whatever the user's locale says.
    const char* begin = s_.c_str() + pos_;
    double v = 0;
    auto [end, error] = std::from_chars(begin, s_.c_str() + s_.size(), v);
    if (end == begin || error == std::errc::invalid_argument) return Fail("malformed number");
    if (error == std::errc::result_out_of_range) return Fail("number out of range");
    pos_ += size_t(end - begin);
    out.type = Json::Type::Number;
    out.number = v;
    return true;
  }

  bool String(std::string& out) {
    ++pos_;  // opening quote
    while (pos_ < s_.size()) {
      char c = s_[pos_++];
      if (c == '"') return true;
      if (c == '\\') {
        if (pos_ >= s_.size()) break;
        char e = s_[pos_++];
        switch (e) {
          case 'n': out += '\n'; break;
          case 't': out += '\t'; break;
          case 'r': out += '\r'; break;
          case 'b': out += '\b'; break;
          case 'f': out += '\f'; break;
          case 'u': {
            if (pos_ + 4 > s_.size()) return Fail("malformed \\u escape");
            unsigned code = unsigned(std::strtoul(s_.substr(pos_, 4).c_str(), nullptr, 16));
            pos_ += 4;
            out += code < 0x80 ? char(code) : '?';
            break;
          }
          default: out += e;
        }
      } else if (static_cast<unsigned char>(c) < 0x20) {
        return Fail("control character in string");
      } else {
        out += c;
      }
    }
    return Fail("unterminated string");
  }

  bool Array(Json& out, int depth) {
    out.type = Json::Type::Array;
    ++pos_;
    Skip();
    if (pos_ < s_.size() && s_[pos_] == ']') return ++pos_, true;
    while (true) {
      Json item;
      if (!Parse(item, depth + 1)) return false;
      out.items.push_back(std::move(item));
      Skip();
      if (pos_ < s_.size() && s_[pos_] == ',') { ++pos_; continue; }
      if (pos_ < s_.size() && s_[pos_] == ']') return ++pos_, true;
      return Fail("expected ',' or ']'");
    }
  }

  bool Object(Json& out, int depth) {
    out.type = Json::Type::Object;
    ++pos_;
    Skip();
    if (pos_ < s_.size() && s_[pos_] == '}') return ++pos_, true;
    while (true) {
      Skip();
      if (pos_ >= s_.size() || s_[pos_] != '"') return Fail("expected a member name");
      std::string key;
      if (!String(key)) return false;
      Skip();
      if (pos_ >= s_.size() || s_[pos_] != ':') return Fail("expected ':'");
      ++pos_;
      Json value;
      if (!Parse(value, depth + 1)) return false;
      out.members.push_back(JsonMember{std::move(key), std::move(value)});
      Skip();
      if (pos_ < s_.size() && s_[pos_] == ',') { ++pos_; continue; }
      if (pos_ < s_.size() && s_[pos_] == '}') return ++pos_, true;
      return Fail("expected ',' or '}'");
    }
  }

  const std::string& s_;
  size_t pos_ = 0;
  std::string error_;
};

}  // namespace

bool ParseJson(const std::string& source, Json& out, std::string& error) {
  out = Json{};
  return Parser(source).Document(out, error);
}

std::string JsonQuote(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"') out += "\\\"";
    else if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c < 0x20) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\u%04X", c);
      out += esc;
    } else out += char(c);
  }
  return out + "\"";
}
