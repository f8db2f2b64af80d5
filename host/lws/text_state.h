// A plug-in's data in a scene file (ioMode LWIO_SCENE): every write call is one
// line, every read call takes one line. Unsigned values are lower-case hex
// without leading zeros, signed ones decimal, floats the shortest decimal that
// reads back to the same float; values of one call are separated by single
// spaces. The bytes of `write` and `read` are unsigned values like writeU1's.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "abi/lw_host.h"

namespace host::lws {

class TextSaveState {
public:
    // Each line goes to the end of `out`: `indent`, the values, `lineEnd`. A
    // write of no values writes no line.
    explicit TextSaveState(std::string& out, std::string indent = {}, std::string lineEnd = "\n");
    TextSaveState(const TextSaveState&) = delete;
    TextSaveState& operator=(const TextSaveState&) = delete;
    const LWSaveState* record() const { return &record_; }

private:
    template <class T, class Append>
    void line(const T* values, int count, Append append);

    LWSaveState record_{};
    std::string& out_;
    std::string indent_, lineEnd_;
    friend struct TextWriter;
};

// Reads take values from the current line only, in any spacing, case and
// number of digits (hex with or without 0x), up to the count asked for, then
// move to the next line. A value that does not parse as the type read, or
// does not fit it, ends the read there: it returns how many it took. Once
// every line is used, reads return -1. A read of no values takes no line.
class TextLoadState {
public:
    explicit TextLoadState(std::vector<std::string_view> lines);
    TextLoadState(const TextLoadState&) = delete;
    TextLoadState& operator=(const TextLoadState&) = delete;
    const LWLoadState* record() const { return &record_; }
    bool atEnd() const { return next_ >= lines_.size(); }
    std::size_t linesRead() const { return next_; }

private:
    template <class T, class Parse>
    int take(T* values, int count, Parse parse);

    LWLoadState record_{};
    std::vector<std::string_view> lines_;
    std::size_t next_ = 0;
    friend struct TextReader;
};

}  // namespace host::lws
