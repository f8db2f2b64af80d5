#include "host/scene_file/scene_data.h"

#include <cstdio>

namespace host {

std::string exactNumber(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string sceneDataLines(const SceneData& data) {
    std::string lines;
    for (const SceneWrite& write : data) {
        lines += "Data " + write.type + " " + std::to_string(write.values.size());
        for (double value : write.values) lines += " " + exactNumber(value);
        lines += "\n";
    }
    return lines;
}

struct SaveWriter {
    template <class T>
    static void put(void* data, const char* type, const T* values, int count) {
        SceneWrite write{type, {}};
        for (int i = 0; values && i < count; ++i) write.values.push_back(static_cast<double>(values[i]));
        static_cast<SaveState*>(data)->out_.push_back(std::move(write));
    }
    static void bytes(void* d, const char* v, int n) { put(d, "B", reinterpret_cast<const unsigned char*>(v), n); }
    static void i1(void* d, const char* v, int n) { put(d, "I1", reinterpret_cast<const signed char*>(v), n); }
    static void i2(void* d, const short* v, int n) { put(d, "I2", v, n); }
    static void i4(void* d, const int* v, int n) { put(d, "I4", v, n); }
    static void u1(void* d, const unsigned char* v, int n) { put(d, "U1", v, n); }
    static void u2(void* d, const unsigned short* v, int n) { put(d, "U2", v, n); }
    static void u4(void* d, const unsigned int* v, int n) { put(d, "U4", v, n); }
    static void fp(void* d, const float* v, int n) { put(d, "FP", v, n); }
};

SaveState::SaveState(SceneData& out) : out_(out) {
    record_.ioMode = LWIO_OBJECT;
    record_.writeData = this;
    record_.write = SaveWriter::bytes;
    record_.writeI1 = SaveWriter::i1;
    record_.writeI2 = SaveWriter::i2;
    record_.writeI4 = SaveWriter::i4;
    record_.writeU1 = SaveWriter::u1;
    record_.writeU2 = SaveWriter::u2;
    record_.writeU4 = SaveWriter::u4;
    record_.writeFP = SaveWriter::fp;
}

bool LoadState::atEnd() const { return write_ >= in_.size(); }

// Writes of no values hold nothing to read.
void LoadState::skipEmpty(std::size_t from) {
    for (write_ = from; !atEnd() && in_[write_].values.empty();) ++write_;
}

template <class T>
int LoadState::take(const char* type, T* values, int count) {
    if (atEnd()) return -1;
    int taken = 0;
    while (taken < count && !atEnd()) {
        const SceneWrite& write = in_[write_];
        if (write.type != type) {
            ++mismatches_;
            break;
        }
        values[taken++] = static_cast<T>(write.values[value_++]);
        if (value_ >= write.values.size()) {
            value_ = 0;
            skipEmpty(write_ + 1);
        }
    }
    return taken;
}

struct LoadReader {
    static LoadState& state(void* data) { return *static_cast<LoadState*>(data); }
    static int bytes(void* d, char* v, int n) { return state(d).take("B", reinterpret_cast<unsigned char*>(v), n); }
    static int i1(void* d, char* v, int n) { return state(d).take("I1", reinterpret_cast<signed char*>(v), n); }
    static int i2(void* d, short* v, int n) { return state(d).take("I2", v, n); }
    static int i4(void* d, int* v, int n) { return state(d).take("I4", v, n); }
    static int u1(void* d, unsigned char* v, int n) { return state(d).take("U1", v, n); }
    static int u2(void* d, unsigned short* v, int n) { return state(d).take("U2", v, n); }
    static int u4(void* d, unsigned int* v, int n) { return state(d).take("U4", v, n); }
    static int fp(void* d, float* v, int n) { return state(d).take("FP", v, n); }
};

LoadState::LoadState(const SceneData& in) : in_(in) {
    skipEmpty(0);
    record_.ioMode = LWIO_OBJECT;
    record_.readData = this;
    record_.read = LoadReader::bytes;
    record_.readI1 = LoadReader::i1;
    record_.readI2 = LoadReader::i2;
    record_.readI4 = LoadReader::i4;
    record_.readU1 = LoadReader::u1;
    record_.readU2 = LoadReader::u2;
    record_.readU4 = LoadReader::u4;
    record_.readFP = LoadReader::fp;
}

}  // namespace host
