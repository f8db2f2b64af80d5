// docs/rig.schema.json agrees with the tool's own checks: the same fields at
// every level, and every field the schema requires is one the tool refuses
// a rig without.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <nlohmann/json.hpp>

#include "tests/sinewrig_outcome.h"
#include "tools/sinewrig/rig/rig_file.h"

namespace {

using nlohmann::json;

const std::string kDocs = std::string(SINEWRIG_SOURCE_DIR) + "/docs/";

json readJson(const std::string& path) { return json::parse(fileText(path)); }

// The schema of an object at a level the tool names.
const json& schemaOf(const json& schema, const std::string& where) {
    if (where.empty()) return schema;
    const json& property = schema.at("properties").at(where);
    return property.contains("items") ? property.at("items") : property;
}

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(RigSchema, HasTheToolsFieldsAtEveryLevelAndNoOthers) {
    const json schema = readJson(kDocs + "rig.schema.json");
    for (const auto& [where, fields] : sinewrig_tool::rigFields()) {
        const json& object = schemaOf(schema, where);
        std::vector<std::string> inSchema;
        for (const auto& [name, value] : object.at("properties").items()) inSchema.push_back(name);
        EXPECT_EQ(sorted(inSchema), sorted(fields)) << "at \"" << where << "\"";
        EXPECT_EQ(object.at("additionalProperties"), false) << "at \"" << where << "\"";
    }
}

TEST(RigSchema, EveryRequiredFieldIsOneTheToolRefusesARigWithout) {
    const json schema = readJson(kDocs + "rig.schema.json");
    const json arm = readJson(std::string(SINEWRIG_SOURCE_DIR) + "/examples/arm.json");
    const std::string path = (std::filesystem::path(::testing::TempDir()) / "sinewrig_schema_rig.json").string();
    for (const auto& [where, fields] : sinewrig_tool::rigFields()) {
        const json& object = schemaOf(schema, where);
        if (!object.contains("required")) continue;
        for (const json& required : object.at("required")) {
            json rig = arm;
            json& holder = where.empty() ? rig : rig.at(where).is_array() ? rig.at(where).at(0) : rig.at(where);
            holder.erase(required.get<std::string>());
            writeFileText(path, rig.dump(2));
            const SinewrigOutcome run = runSinewrig({"run", path, "--plugin", SINEWRIG_MODULE_FILE, "--quiet"});
            EXPECT_EQ(run.status, 2) << where << "." << required;
            EXPECT_NE(run.err.find("missing field \"" + required.get<std::string>() + "\""), std::string::npos) << run.err;
        }
    }
    std::filesystem::remove(path);
}

// docs/rig-format.md gives each field of a rig, of a skelegon, of a muscle
// and of a key a row of its own in the table of that level.
TEST(RigSchema, TheRigFormatPageHasARowForEveryFieldTheToolReads) {
    std::istringstream page(fileText(kDocs + "rig-format.md"));
    std::vector<std::string> firstCells;
    for (std::string line; std::getline(page, line);)
        if (line.rfind("| ", 0) == 0) firstCells.push_back(line.substr(2, line.find(" |", 2) - 2));
    for (const auto& [where, fields] : sinewrig_tool::rigFields()) {
        if (where == "frames") continue;  // its three fields share the row of "frames"
        for (const std::string& name : fields) {
            if (name == "$schema") continue;
            const bool rowed = std::any_of(firstCells.begin(), firstCells.end(), [&](const std::string& cell) {
                return cell.find("`" + name + "`") != std::string::npos;
            });
            EXPECT_TRUE(rowed) << "\"" << where << "\": " << name;
        }
    }
}
