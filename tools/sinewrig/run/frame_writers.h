// Each frame of a run written as it comes: into the CSV the user asked for,
// and into the table the report prints, which waits in a spool of its own
// until the report comes.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/sinewrig/common/temporary_file.h"
#include "tools/sinewrig/road/channels.h"
#include "tools/sinewrig/road/muscle_bones.h"
#include "tools/sinewrig/run/spool_stream.h"

namespace sinewrig_tool {

class FrameWriters {
public:
    // The CSV into `csvSpool` (none when empty), named `csvPath` when it
    // fails. The table only when `table`.
    FrameWriters(const std::string& csvPath, const std::string& csvSpool, bool table);

    // One frame of `muscles`' channels; the first also writes the headers.
    void write(const std::vector<MuscleBone>& muscles, const FrameSample& frame);
    // The CSV ended, its header even without frames; false with `error`.
    bool closeCsv(std::string& error);
    // The table, or a line saying that its `rows` rows were left out.
    void printTable(std::ostream& report, long long rows);

private:
    SpoolStream csv_, table_;
    std::optional<TemporaryFile> tableFile_;
    std::size_t width_ = 4;  // of the bone column, in display columns
    bool first_ = true;
};

}  // namespace sinewrig_tool
