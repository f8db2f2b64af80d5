// Every item's channels at every evaluated frame as CSV: rows frame by frame,
// the items of one frame in scene order, rotation in degrees.
#pragma once

#include <string>
#include <vector>

#include "tools/sinewrig/scene/item_channels.h"

namespace sinewrig_tool {

// An item as its rows name it: its name as a cell, its number as 8 upper-case hex digits.
struct CsvItem {
    std::string name, id;
};

// The name, in UTF-8, as a CSV cell: quoted, with quotes doubled, only when
// it holds a comma, a quote or a line end.
std::string csvCell(const std::string& text);

std::string itemChannelsCsvHeader();
// The frame's rows, appended to `csv`; `channels` by item, in the order of `items`.
void appendItemChannelsCsv(std::string& csv, const std::vector<CsvItem>& items, int frame, double time,
                           const std::vector<ItemChannels>& channels);

}  // namespace sinewrig_tool
