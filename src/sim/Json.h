#pragma once
#include <string>
#include <utility>
#include <vector>

// A small JSON reader for board files: numbers, strings, booleans, null,
// arrays and objects (members kept in file order).
struct JsonMember;

struct Json {
  enum class Type { Null, Bool, Number, String, Array, Object };
  Type type = Type::Null;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<Json> items;
  std::vector<JsonMember> members;

  const Json* Find(const std::string& key) const;
};

struct JsonMember {
  std::string name;
  Json value;
};

// Parses a whole document; on failure returns false and says where and why.
bool ParseJson(const std::string& source, Json& out, std::string& error);

// Writes s as a JSON string literal, quotes included.
std::string JsonQuote(const std::string& s);
