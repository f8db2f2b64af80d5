// An instance's scene data: the typed values it wrote through LWSaveState, one
// entry per write call, in write order; LWLoadState gives them back.
#pragma once

#include <string>
#include <vector>

#include "abi/lw_host.h"

namespace host {

struct SceneWrite {
    std::string type;            // "B" (write), "I1", "I2", "I4", "U1", "U2", "U4" or "FP"
    std::vector<double> values;  // every type here fits a double exactly

    bool operator==(const SceneWrite&) const = default;
};
using SceneData = std::vector<SceneWrite>;

// A number as text that reads back to the same bits.
std::string exactNumber(double value);
// The data as text, one "Data type count values..." line per write: two saves
// wrote the same when these texts are byte for byte the same.
std::string sceneDataLines(const SceneData& data);

// Collects the values a module writes.
class SaveState {
public:
    explicit SaveState(SceneData& out);
    const LWSaveState* record() const { return &record_; }

private:
    LWSaveState record_{};
    SceneData& out_;
    friend struct SaveWriter;
};

// Gives back the values of a SceneData, in order. A read of one type takes the
// following values while they have that type, up to the count asked for; it
// returns how many it took, and -1 when the data has ended before the read.
class LoadState {
public:
    explicit LoadState(const SceneData& in);
    const LWLoadState* record() const { return &record_; }
    int mismatches() const { return mismatches_; }  // reads that met a value of another type
    bool atEnd() const;

private:
    void skipEmpty(std::size_t from);
    template <class T>
    int take(const char* type, T* values, int count);
    LWLoadState record_{};
    const SceneData& in_;
    std::size_t write_ = 0, value_ = 0;
    int mismatches_ = 0;
    friend struct LoadReader;
};

}  // namespace host
