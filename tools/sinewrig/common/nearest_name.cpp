#include "tools/sinewrig/common/nearest_name.h"

#include <algorithm>
#include <cctype>

#include "host/text/text_format.h"

namespace sinewrig_tool {

namespace {

bool sameLetter(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

bool sameByte(char a, char b) { return a == b; }

// Letters added, removed or changed to make `a` into `b`, two letters being
// the same when `same` says so.
template <class Same>
std::size_t editDistance(const std::string& a, const std::string& b, Same same) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same(a[i - 1], b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

struct Nearest {
    const std::string* name = nullptr;
    std::size_t distance = 0;
};

Nearest nearest(const std::string& name, const std::vector<std::string>& known) {
    Nearest best;
    std::size_t bestExact = 0;
    for (const std::string& candidate : known) {
        const std::size_t d = editDistance(name, candidate, sameLetter);
        if (best.name && d > best.distance) continue;
        const std::size_t exact = editDistance(name, candidate, sameByte);
        if (best.name && d == best.distance && exact >= bestExact) continue;
        best = {&candidate, d};
        bestExact = exact;
    }
    return best;
}

}  // namespace

std::string nearestName(const std::string& name, const std::vector<std::string>& known) {
    return *nearest(name, known).name;
}

std::optional<std::string> closeName(const std::string& name, const std::vector<std::string>& known) {
    const Nearest found = nearest(name, known);
    if (!found.name) return std::nullopt;
    const std::size_t longer = std::max(name.size(), found.name->size());
    if (found.distance * 3 > longer + 2) return std::nullopt;
    return *found.name;
}

std::string didYouMean(const std::string& name, const std::vector<std::string>& known) {
    const std::optional<std::string> close = closeName(name, known);
    return close ? "; did you mean " + host::quoted(*close) + "?" : "";
}

}  // namespace sinewrig_tool
