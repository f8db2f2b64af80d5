#include "tools/sinewrig/common/field_reader.h"

#include <algorithm>
#include <cmath>

#include "host/text/text_format.h"
#include "tools/sinewrig/common/nearest_name.h"

namespace sinewrig_tool {

std::string at(const std::string& where, const std::string& field) { return where.empty() ? field : where + "." + field; }

std::string entryAt(const std::string& where, std::size_t index) { return where + "[" + std::to_string(index) + "]"; }

void onlyKnownFields(const Json& object, const std::string& where, const std::vector<std::string>& known) {
    for (const auto& [name, value] : object.items())
        if (std::find(known.begin(), known.end(), name) == known.end())
            throw FieldError{at(where, name),
                             "unknown field; the nearest known field is " + host::quoted(nearestName(name, known))};
}

const Json& field(const Json& object, const std::string& where, const char* name) {
    auto found = object.find(name);
    if (found == object.end()) throw FieldError{where, "missing field " + host::quoted(name)};
    return *found;
}

const Json* optionalField(const Json& object, const char* name) {
    auto found = object.find(name);
    return found == object.end() || found->is_null() ? nullptr : &*found;
}

namespace {

const Json& listed(const Json& value, const std::string& where) {
    if (!value.is_array()) throw FieldError{where, "must be a list"};
    return value;
}

}  // namespace

const Json& requiredList(const Json& object, const std::string& where, const char* name) {
    return listed(field(object, where, name), at(where, name));
}

const Json& optionalList(const Json& object, const std::string& where, const char* name) {
    static const Json kNone = Json::array();
    const Json* value = optionalField(object, name);
    return value ? listed(*value, at(where, name)) : kNone;
}

void expectObject(const Json& value, const std::string& where) {
    if (!value.is_object()) throw FieldError{where, "must be an object"};
}

std::string text(const Json& value, const std::string& where) {
    if (!value.is_string()) throw FieldError{where, "must be a text"};
    return value.get<std::string>();
}

double number(const Json& value, const std::string& where) {
    if (!value.is_number()) throw FieldError{where, "must be a number"};
    const double n = value.get<double>();
    if (!std::isfinite(n)) throw FieldError{where, "must be a finite number"};
    return n;
}

int integer(const Json& value, const std::string& where) {
    if (!value.is_number_integer()) throw FieldError{where, "must be a whole number"};
    if ((value.is_number_unsigned() && value.get<unsigned long long>() > 1000000000) ||
        value.get<long long>() < -1000000000 || value.get<long long>() > 1000000000)
        throw FieldError{where, "must be a whole number from -1000000000 to 1000000000"};
    return value.get<int>();
}

bool flag(const Json& object, const std::string& where, const char* name, bool fallback) {
    const Json* value = optionalField(object, name);
    if (!value) return fallback;
    if (!value->is_boolean()) throw FieldError{at(where, name), "must be true or false"};
    return value->get<bool>();
}

void choice(const Json& object, const std::string& where, const char* name, const std::vector<std::string>& names,
            int& index) {
    const Json* given = optionalField(object, name);
    if (!given) return;
    const std::string chosen = text(*given, at(where, name));
    const auto found = std::find(names.begin(), names.end(), chosen);
    if (found == names.end()) {
        std::string offered;
        for (const std::string& n : names) offered += (offered.empty() ? "" : ", ") + host::quoted(n);
        throw FieldError{at(where, name), host::quoted(chosen) + " is not one of " + offered};
    }
    index = static_cast<int>(found - names.begin());
}

}  // namespace sinewrig_tool
