// The fields of a JSON document the tool is given (a rig file, the choices
// of `tag`), read strictly: each fault is thrown as a FieldError naming the
// field's place ("muscles[2].bulge") and what is wrong with it.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace sinewrig_tool {

using Json = nlohmann::json;

struct FieldError {
    std::string where, what;
    // "PATH: where: what", for the file the field is in.
    std::string inFile(const std::string& path) const { return path + ": " + (where.empty() ? "" : where + ": ") + what; }
};

// "where.field", or "field" at the top level ("").
std::string at(const std::string& where, const std::string& field);
// "where[index]"
std::string entryAt(const std::string& where, std::size_t index);

// Every field of `object` must be one of `known`: a misspelt one would
// otherwise quietly lose what it sets. The error names the nearest known one.
void onlyKnownFields(const Json& object, const std::string& where, const std::vector<std::string>& known);

// A field that must be there; "missing field" at `where` when it is not.
const Json& field(const Json& object, const std::string& where, const char* name);
// Null when it is not there or is null.
const Json* optionalField(const Json& object, const char* name);
// A list that must be there, or one that may be (none: an empty list).
const Json& requiredList(const Json& object, const std::string& where, const char* name);
const Json& optionalList(const Json& object, const std::string& where, const char* name);

void expectObject(const Json& value, const std::string& where);
std::string text(const Json& value, const std::string& where);
// Finite.
double number(const Json& value, const std::string& where);
// From -1000000000 to 1000000000.
int integer(const Json& value, const std::string& where);
// `fallback` when the field is not there.
bool flag(const Json& object, const std::string& where, const char* name, bool fallback);
// A popup's choice by its name: `index` becomes the place of the name in
// `names`, the order the panel offers them; left as it is without the field.
void choice(const Json& object, const std::string& where, const char* name, const std::vector<std::string>& names,
            int& index);

}  // namespace sinewrig_tool
