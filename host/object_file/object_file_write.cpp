#include <deque>
#include <map>
#include <optional>
#include <unordered_map>

#include "host/object_file/object_bytes.h"
#include "host/object_file/object_file.h"

namespace host {

namespace {

constexpr LWID kPolygonTags = LWID_('P', 'T', 'A', 'G');
constexpr LWID kTagStrings = LWID_('T', 'A', 'G', 'S');
constexpr std::uint32_t kMostTagStrings = 65536;  // a PTAG's tag index is a U2
constexpr std::uint32_t kUnchanged = 0xFFFFFFFFu;

struct WriteError {
    std::string message;
};

// The strings of one TAGS chunk as the writing leaves it: the file's, then those appended.
class StringTable {
public:
    StringTable() = default;
    explicit StringTable(const std::vector<std::string>& strings) : count_(strings.size()) {
        for (std::size_t i = strings.size(); i-- > 0;) index_[strings[i]] = static_cast<std::uint32_t>(i);
    }

    // The string's index; a WriteError naming `chunk` when a new one would not fit a tag index.
    template <typename Where>
    std::uint16_t indexOf(const std::string& text, const Where& where) {
        auto found = index_.find(text);
        if (found != index_.end()) return static_cast<std::uint16_t>(found->second);
        if (count_ >= kMostTagStrings)
            throw WriteError{where() + ": the tag \"" + text + "\" would be string " + std::to_string(count_ + 1) +
                             ", and a tag index holds only 65,536"};
        appended_.push_back(text);
        index_.emplace(text, static_cast<std::uint32_t>(count_));
        return static_cast<std::uint16_t>(count_++);
    }
    const std::vector<std::string>& appended() const { return appended_; }

private:
    std::size_t count_ = 0;
    std::unordered_map<std::string, std::uint32_t> index_;
    std::vector<std::string> appended_;
};

void appendStrings(std::string& data, const std::vector<std::string>& strings) {
    if (data.size() % 2) data += '\0';  // the last string's pad, left off at the chunk's end
    for (const std::string& text : strings) {
        data += text;
        data += '\0';
        if ((text.size() + 1) % 2) data += '\0';
    }
}

// What the writing does to the file: chunks whose data is replaced, and
// chunks added after a chunk of the file.
struct Plan {
    std::map<std::size_t, std::string> replaced;           // by chunk index: the new data
    std::map<std::size_t, std::vector<std::pair<LWID, std::string>>> added;  // after chunk index
};

class TagWriter {
public:
    TagWriter(const ObjectFile& file, const MeshObject& mesh) : file_(file), mesh_(mesh) {}

    Plan plan() {
        std::vector<std::vector<std::size_t>> tagChunksOf(file_.polygonChunks.size());
        for (std::size_t t = 0; t < file_.polygonTags.size(); ++t) tagChunksOf[file_.polygonTags[t].polygons].push_back(t);
        for (std::size_t p = 0; p < file_.polygonChunks.size(); ++p) planPolygons(p, tagChunksOf[p]);
        for (auto& [t, table] : tables_) {
            if (table.appended().empty()) continue;
            const std::size_t chunk = file_.tagStrings[t].chunk;
            appendStrings(dataOf(chunk), table.appended());
        }
        for (auto& [chunk, data] : patched_) plan_.replaced[chunk] = std::move(data);
        return std::move(plan_);
    }

private:
    // Names the chunk only when a message needs it.
    auto where(std::size_t chunk) const {
        return [this, chunk] {
            return idText(file_.chunks[chunk].id) + " chunk at offset " + std::to_string(file_.chunks[chunk].offset);
        };
    }

    auto stringsChunk(std::size_t strings) const { return where(file_.tagStrings[strings].chunk); }

    StringTable& table(std::size_t strings) {
        auto found = tables_.find(strings);
        if (found == tables_.end()) found = tables_.emplace(strings, StringTable(file_.tagStrings[strings].strings)).first;
        return found->second;
    }

    std::string& dataOf(std::size_t chunk) {
        auto found = patched_.find(chunk);
        if (found == patched_.end()) {
            const FileChunk& c = file_.chunks[chunk];
            found = patched_.emplace(chunk, std::string(file_.bytes.data() + c.offset + 8, c.length)).first;
        }
        return found->second;
    }

    // The tags of one POLS chunk's polygons that differ from the file's.
    void planPolygons(std::size_t p, const std::vector<std::size_t>& tagChunks) {
        const PolygonChunk& polygons = file_.polygonChunks[p];
        // type -> for each polygon, the file's tag text (null: untagged)
        std::map<LWID, std::vector<const std::string*>> fileTags;
        std::map<LWID, std::vector<std::size_t>> chunksOfType;
        for (std::size_t t : tagChunks) {
            const PolygonTagChunk& tags = file_.polygonTags[t];
            chunksOfType[tags.type].push_back(t);
            auto& texts = fileTags[tags.type];
            texts.resize(polygons.polygons.size(), nullptr);
            const std::vector<std::string>& strings = file_.tagStrings[tags.strings].strings;
            // As the reader does: the last pair that names a string gives the polygon its tag.
            for (const TagPair& pair : tags.pairs)
                if (pair.tag < strings.size()) texts[pair.polygon] = &strings[pair.tag];
        }
        // type -> (polygon, text) changed or new, in polygon order
        std::map<LWID, std::vector<std::pair<std::uint32_t, const std::string*>>> changes;
        for (std::uint32_t i = 0; i < polygons.polygons.size(); ++i) {
            const MeshPolygon* polygon = mesh_.polygon(polygons.polygons[i]);
            if (!polygon) continue;
            for (const auto& [type, text] : polygon->tags) {
                auto known = fileTags.find(type);
                const std::string* before = known == fileTags.end() ? nullptr : known->second[i];
                if (!before || *before != text) changes[type].emplace_back(i, &text);
            }
        }
        std::optional<StringTable> ownStrings;  // for a POLS with no TAGS chunk before its place
        std::vector<std::pair<LWID, std::string>> newChunks;
        for (const auto& [type, changed] : changes) {
            auto existing = chunksOfType.find(type);
            if (existing == chunksOfType.end()) {
                std::string data;
                putU4(data, type);
                for (const auto& [polygon, text] : changed) {
                    putIndex(data, polygon);
                    if (polygons.tagStringsThere != kNoChunk) {
                        putU2(data, table(polygons.tagStringsThere).indexOf(*text, stringsChunk(polygons.tagStringsThere)));
                    } else {
                        if (!ownStrings) ownStrings.emplace();
                        putU2(data, ownStrings->indexOf(*text, where(polygons.chunk)));
                    }
                }
                newChunks.emplace_back(kPolygonTags, std::move(data));
                continue;
            }
            // Pairs the file has keep their place with the new index; new ones go at the end of the last chunk.
            const std::vector<std::size_t>& ofType = existing->second;
            std::vector<std::uint32_t> changedAt(polygons.polygons.size(), kUnchanged);
            for (std::uint32_t c = 0; c < changed.size(); ++c) changedAt[changed[c].first] = c;
            std::vector<bool> paired(polygons.polygons.size(), false);
            for (std::size_t t : ofType) {
                const PolygonTagChunk& tags = file_.polygonTags[t];
                for (const TagPair& pair : tags.pairs) {
                    paired[pair.polygon] = true;
                    if (changedAt[pair.polygon] == kUnchanged) continue;
                    const std::string& text = *changed[changedAt[pair.polygon]].second;
                    const std::uint16_t index = table(tags.strings).indexOf(text, stringsChunk(tags.strings));
                    std::string& data = dataOf(tags.chunk);
                    data[pair.tagOffset] = static_cast<char>(index >> 8);
                    data[pair.tagOffset + 1] = static_cast<char>(index);
                }
            }
            const PolygonTagChunk& last = file_.polygonTags[ofType.back()];
            for (const auto& [polygon, text] : changed) {
                if (paired[polygon]) continue;
                const std::uint16_t index = table(last.strings).indexOf(*text, stringsChunk(last.strings));
                std::string& data = dataOf(last.chunk);
                putIndex(data, polygon);
                putU2(data, index);
            }
        }
        if (newChunks.empty()) return;
        auto& after = plan_.added[polygons.lastTagChunk];
        if (ownStrings) {
            std::string strings;
            appendStrings(strings, ownStrings->appended());
            after.emplace_back(kTagStrings, std::move(strings));
        }
        for (auto& chunk : newChunks) after.push_back(std::move(chunk));
    }

    const ObjectFile& file_;
    const MeshObject& mesh_;
    std::map<std::size_t, StringTable> tables_;  // by index in file_.tagStrings
    std::map<std::size_t, std::string> patched_;
    Plan plan_;
};

std::string header(LWID id, std::size_t length) {
    std::string out;
    putU4(out, id);
    putU4(out, static_cast<std::uint32_t>(length));
    return out;
}

}  // namespace

bool writeObjectFile(const ObjectFile& file, const MeshObject& mesh, std::ostream& out, std::string& error) {
    Plan plan;
    try {
        plan = TagWriter(file, mesh).plan();
    } catch (const WriteError& failed) {
        error = failed.message;
        return false;
    }
    // Each piece of the output in order: a range of the file's bytes or new bytes.
    struct Piece {
        const char* data;
        std::size_t size;
    };
    std::vector<Piece> pieces;
    std::deque<std::string> made;  // owns the new bytes the pieces point into; never moves them
    std::uint64_t formLength = 4;
    auto piece = [&](const char* data, std::size_t size) {
        pieces.push_back(Piece{data, size});
        formLength += size;
    };
    auto newChunk = [&](LWID id, const std::string& data) {
        if (data.size() > 0xFFFFFFFFu) return false;
        made.push_back(header(id, data.size()) + data + (data.size() % 2 ? std::string(1, '\0') : std::string()));
        piece(made.back().data(), made.back().size());
        return true;
    };
    static const char zero = 0;
    for (std::size_t c = 0; c < file.chunks.size(); ++c) {
        const FileChunk& chunk = file.chunks[c];
        auto replaced = plan.replaced.find(c);
        if (replaced != plan.replaced.end()) {
            if (!newChunk(chunk.id, replaced->second)) {
                error = idText(chunk.id) + " chunk at offset " + std::to_string(chunk.offset) + ": would pass 4 GB";
                return false;
            }
        } else {
            const std::size_t end = std::min(chunk.offset + 8 + chunk.length + chunk.length % 2, file.formEnd);
            piece(file.bytes.data() + chunk.offset, end - chunk.offset);
            // The last chunk's pad byte, left off by its writer, is needed once a chunk follows it.
            if (end < chunk.offset + 8 + chunk.length + chunk.length % 2 && plan.added.count(c)) piece(&zero, 1);
        }
        auto added = plan.added.find(c);
        if (added != plan.added.end())
            for (const auto& [id, data] : added->second) newChunk(id, data);
    }
    if (formLength > 0xFFFFFFFFu) {
        error = "the object would pass the 4 GB an object file can hold";
        return false;
    }
    std::string form(file.bytes.data(), 12);
    form.replace(4, 4, header(0, formLength).substr(4));
    out.write(form.data(), form.size());
    for (const Piece& p : pieces) out.write(p.data, static_cast<std::streamsize>(p.size));
    out.write(file.bytes.data() + file.formEnd, static_cast<std::streamsize>(file.bytes.size() - file.formEnd));
    if (!out.flush()) {
        error = "the object could not be written";
        return false;
    }
    return true;
}

}  // namespace host
