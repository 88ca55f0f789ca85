// SPDX-License-Identifier: GPL-3.0-or-later
#include "json/Json.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
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
      case Event::value: NextItem(); break;
    }
    return true;
  }

  // With `inLastItem` the innermost array names the item it read last (a
  // number whose text went on, as in 0x10) rather than the next one.
  std::string Text(bool inLastItem) const {
    std::string text;
    for (const Frame& f : frames_) {
      bool lastItem = inLastItem && &f == &frames_.back() && f.items > 0;
      if (f.array)
        text += "[" + std::to_string(lastItem ? f.items - 1 : f.items) + "]";
      else if (!f.keys.empty())
        text += (text.empty() ? "" : ".") + Excerpt(f.key);
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
  for (const char* start :
       {"last read: '0x", "last read: '0X", "last read: '-0x", "last read: '-0X"})
    if (what.find(start) != std::string::npos) return true;
  return false;
}

// The library quotes the token it stopped in whole, however long: cut it.
std::string CutLastRead(std::string what) {
  const std::string lastRead = "last read: '";
  size_t start = what.find(lastRead);
  if (start == std::string::npos) return what;
  start += lastRead.size();
  size_t end = what.rfind("'; expected ");
  if (end == std::string::npos || end < start) end = what.rfind('\'');
  if (end == std::string::npos || end < start) return what;
  return what.substr(0, start) + Excerpt(std::string_view(what).substr(start, end - start)) +
         what.substr(end);
}

// "line 1, column 14: syntax error ..." out of the library's message.
std::string Reason(const nlohmann::json::parse_error& e) {
  std::string what = CutLastRead(e.what());
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
  if (size_t nul = text.find('\0'); nul != std::string::npos) {
    size_t lineStart = text.rfind('\n', nul);
    lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
    long line = 1 + std::count(text.begin(), text.begin() + long(nul), '\n');
    why = "malformed JSON, line " + std::to_string(line) + ", column " +
          std::to_string(nul - lineStart + 1) + ": a NUL byte";
    return false;
  }
  Path path;
  try {
    out = Json::parse(text, [&](int depth, Json::parse_event_t event, Json& parsed) {
      return path.Track(depth, event, parsed);
    });
    return true;
  } catch (const Path::Refused& r) {
    why = r.why;
    entry = path.Text(false);
  } catch (const nlohmann::json::parse_error& e) {
    why = "malformed JSON, " + Reason(e);
    entry = path.Text(IsHexNumber(e.what()));
  } catch (const nlohmann::json::exception& e) {
    // A number too large for a double (1e999) is no parse error to the library.
    std::string what = e.what();
    size_t text = what.find("] ");
    why = "number out of range: " + (text == std::string::npos ? what : what.substr(text + 2));
    entry = path.Text(false);
  }
  return false;
}

std::string JsonText(const Json& doc) {
  return doc.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

namespace {

// The length of the well-formed UTF-8 sequence at text[i], or, when there is
// none, of the bytes that began one (at least the first) with `complete`
// false. The reader resumes after those, so one bad byte costs one U+FFFD.
size_t Utf8Sequence(std::string_view text, size_t i, bool& complete) {
  const unsigned char lead = text[i];
  size_t follow = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the byte after the lead
  if (lead >= 0xC2 && lead <= 0xDF)
    follow = 1;
  else if (lead == 0xE0)
    follow = 2, low = 0xA0;  // no overlong forms
  else if (lead == 0xED)
    follow = 2, high = 0x9F;  // no surrogates
  else if (lead >= 0xE1 && lead <= 0xEF)
    follow = 2;
  else if (lead == 0xF0)
    follow = 3, low = 0x90;
  else if (lead >= 0xF1 && lead <= 0xF3)
    follow = 3;
  else if (lead == 0xF4)
    follow = 3, high = 0x8F;  // nothing past U+10FFFF
  size_t length = 1;
  while (length <= follow && i + length < text.size()) {
    const unsigned char c = text[i + length];
    if (c < low || c > high) break;
    low = 0x80, high = 0xBF;
    ++length;
  }
  complete = follow > 0 && length == follow + 1;
  return length;
}

// Appends the multi-byte sequence that starts at text[i], or U+FFFD in place
// of a broken one; the bytes it took.
size_t AppendSequence(std::string& out, std::string_view text, size_t i) {
  bool complete = false;
  size_t length = Utf8Sequence(text, i, complete);
  if (complete)
    out.append(text, i, length);
  else
    out += "\xEF\xBF\xBD";
  return length;
}

}  // namespace

std::string ValidUtf8(std::string_view text) {
  std::string valid;
  valid.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80)
      valid += text[i++];
    else
      i += AppendSequence(valid, text, i);
  }
  return valid;
}

void AppendJsonString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = text[i];
    if (c >= 0x80) {
      i += AppendSequence(out, text, i);
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\f': out += "\\f"; break;
      case '\r': out += "\\r"; break;
      default:
        if (c < 0x20) {
          const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
          out.append(escape, sizeof escape);
        } else {
          out += char(c);
        }
    }
    ++i;
  }
  out += '"';
}

void AppendJsonNumber(std::string& out, double value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  // The shortest digits that read back as the value, then laid out plainly
  // from 1e-4 up to 1e15 and with an exponent of at least two digits beyond.
  char text[32];
  const char* end =
      std::to_chars(text, text + sizeof text, value, std::chars_format::scientific).ptr;
  const char* p = text;
  if (*p == '-') out += *p++;
  char digits[20];
  int k = 0;
  for (; *p != 'e'; ++p)
    if (*p != '.') digits[k++] = *p;
  int exponent = 0;
  std::from_chars(p + 2, end, exponent);  // after the e and its sign
  if (p[1] == '-') exponent = -exponent;
  const int n = exponent + 1;  // digits before the point
  if (k <= n && n <= 15) {
    out.append(digits, k).append(n - k, '0').append(".0");
  } else if (0 < n && n <= 15) {
    out.append(digits, n).append(1, '.').append(digits + n, k - n);
  } else if (-4 < n && n <= 0) {
    out.append("0.").append(-n, '0').append(digits, k);
  } else {
    out += digits[0];
    if (k > 1) out.append(1, '.').append(digits + 1, k - 1);
    out += exponent < 0 ? "e-" : "e+";
    if (std::abs(exponent) < 10) out += '0';
    end = std::to_chars(text, text + sizeof text, std::abs(exponent)).ptr;
    out.append(text, static_cast<size_t>(end - text));
  }
}

std::string Excerpt(std::string_view text) {
  constexpr int kMaxCharacters = 80;
  int characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    if (!continuation && ++characters > kMaxCharacters)
      return std::string(text.substr(0, i)) + "\xE2\x80\xA6";  // U+2026, an ellipsis
  }
  return std::string(text);
}
