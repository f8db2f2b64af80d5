#include "tools/sinewrig/common/nearest_name.h"

#include <algorithm>
#include <cctype>

namespace sinewrig_tool {

namespace {

bool sameLetter(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

// Letters added, removed or changed to make `a` into `b`.
std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (sameLetter(a[i - 1], b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::string nearestName(const std::string& name, const std::vector<std::string>& known) {
    std::string nearest = known.front();
    std::size_t distance = editDistance(name, nearest);
    for (const std::string& candidate : known)
        if (const std::size_t d = editDistance(name, candidate); d < distance) {
            nearest = candidate;
            distance = d;
        }
    return nearest;
}

}  // namespace sinewrig_tool
