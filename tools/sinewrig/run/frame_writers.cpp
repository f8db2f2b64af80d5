#include "tools/sinewrig/run/frame_writers.h"

#include <algorithm>
#include <fstream>

#include "tools/sinewrig/common/display_width.h"
#include "tools/sinewrig/run/channels_csv.h"
#include "tools/sinewrig/run/table_text.h"

namespace sinewrig_tool {

FrameWriters::FrameWriters(const std::string& csvPath, const std::string& csvSpool, bool table) {
    if (!csvSpool.empty()) csv_.open(csvPath, csvSpool);
    if (!table) return;
    tableFile_.emplace("table");
    table_.open("the frame table", tableFile_->path());
}

void FrameWriters::write(const std::vector<MuscleBone>& muscles, const FrameSample& frame) {
    if (first_) {
        first_ = false;
        for (const MuscleBone& muscle : muscles) width_ = std::max(width_, displayWidth(muscle.name));
        if (csv_.active()) csv_.text() += muscleChannelsCsvHeader();
        if (table_.active()) table_.text() += tableHeader(width_);
    }
    if (csv_.active()) {
        appendMuscleChannelsCsv(csv_.text(), muscles, frame);
        csv_.writeWhenLarge();
    }
    if (table_.active()) {
        appendTableRows(table_.text(), width_, muscles, frame);
        table_.writeWhenLarge();
    }
}

bool FrameWriters::closeCsv(std::string& error) {
    if (!csv_.active()) return true;
    if (first_) csv_.text() += muscleChannelsCsvHeader();
    return csv_.close(error);
}

void FrameWriters::printTable(std::ostream& report, long long rows) {
    if (!table_.active()) {
        report << "\n(the table of " << rows << " rows, one per frame and muscle, is left out: --table prints it, "
               << "--csv writes it to a file)\n";
        return;
    }
    // A table that could not be spooled in full is printed as far as it got.
    std::string unused;
    table_.close(unused);
    std::ifstream spooled(tableFile_->path(), std::ios::binary);
    report << "\n";
    if (spooled.peek() != std::ifstream::traits_type::eof()) report << spooled.rdbuf();
}

}  // namespace sinewrig_tool
