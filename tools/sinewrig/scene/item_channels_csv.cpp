#include "tools/sinewrig/scene/item_channels_csv.h"

#include "host/text/text_format.h"
#include "tools/sinewrig/common/angles.h"

namespace sinewrig_tool {

namespace {

// As many digits as the muscle CSV gives.
constexpr int kDigits = 10;

}  // namespace

std::string csvCell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string cell = "\"";
    for (char c : text) {
        if (c == '"') cell += '"';
        cell += c;
    }
    return cell + "\"";
}

std::string itemChannelsCsvHeader() {
    return "frame,time (s),item,id,position x,position y,position z,heading (deg),pitch (deg),bank (deg),"
           "scale x,scale y,scale z\n";
}

void appendItemChannelsCsv(std::string& csv, const std::vector<CsvItem>& items, int frame, double time,
                           const std::vector<ItemChannels>& channels) {
    const std::string when = std::to_string(frame) + "," + host::numberText(time, kDigits) + ",";
    for (std::size_t i = 0; i < items.size() && i < channels.size(); ++i) {
        csv += when;
        csv += items[i].name;
        csv += ',';
        csv += items[i].id;
        for (int c = 0; c < 9; ++c) {
            csv += ',';
            csv += host::numberText(c >= 3 && c < 6 ? degrees(channels[i][c]) : channels[i][c], kDigits);
        }
        csv += '\n';
    }
}

}  // namespace sinewrig_tool
