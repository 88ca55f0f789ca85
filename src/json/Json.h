#pragma once
#include <string>

#include <nlohmann/json.hpp>

// JSON documents with their members in file order.
using Json = nlohmann::ordered_json;

// Reads a whole document strictly: besides what JSON itself forbids, a
// byte-order mark, a member name given twice in one object and nesting
// deeper than 64 are refused. On failure `entry` names where the reader was
// ("devices[0].address", empty at the top) and `why` says what is wrong,
// with the line and column where the text itself is malformed.
bool ParseJson(const std::string& text, Json& out, std::string& entry, std::string& why);

// The document as compact text; bytes that are not UTF-8 become U+FFFD.
std::string JsonText(const Json& doc);
