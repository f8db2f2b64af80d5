#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "host/object_file/object_file.h"

namespace host {

namespace {

constexpr LWID kForm = LWID_('F', 'O', 'R', 'M');
constexpr LWID kObject = LWID_('L', 'W', 'O', '2');
constexpr LWID kLayer = LWID_('L', 'A', 'Y', 'R');
constexpr LWID kPoints = LWID_('P', 'N', 'T', 'S');
constexpr LWID kPolygons = LWID_('P', 'O', 'L', 'S');
constexpr LWID kPolygonTags = LWID_('P', 'T', 'A', 'G');
constexpr LWID kTagStrings = LWID_('T', 'A', 'G', 'S');
constexpr LWID kSurfaceTag = LWID_('S', 'U', 'R', 'F');
constexpr LWID kPointMap = LWID_('V', 'M', 'A', 'P');
constexpr LWID kPolygonPointMap = LWID_('V', 'M', 'A', 'D');

// Thrown while reading, with the whole message.
struct ReadError {
    std::string message;
};

std::string chunkName(LWID id, std::size_t offset) { return idText(id) + " chunk at offset " + std::to_string(offset); }

// Big-endian reads within one chunk's data; anything past its end is a ReadError naming the chunk.
class ChunkReader {
public:
    ChunkReader(const std::vector<char>& bytes, const FileChunk& chunk)
        : data_(reinterpret_cast<const unsigned char*>(bytes.data()) + chunk.offset + 8),
          size_(chunk.length),
          chunk_(chunk) {}

    std::size_t position() const { return at_; }
    std::size_t left() const { return size_ - at_; }
    bool atEnd() const { return at_ == size_; }

    [[noreturn]] void fail(const std::string& what) const {
        throw ReadError{chunkName(chunk_.id, chunk_.offset) + ": " + what};
    }
    void need(std::size_t count, const char* what) const {
        if (left() < count) fail(std::string(what) + " at byte " + std::to_string(at_) + " runs past the chunk's end");
    }
    std::uint32_t u4(const char* what = "a U4") {
        need(4, what);
        const unsigned char* p = data_ + at_;
        at_ += 4;
        return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
    }
    std::uint16_t u2(const char* what = "a U2") {
        need(2, what);
        const unsigned char* p = data_ + at_;
        at_ += 2;
        return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
    }
    float f4(const char* what = "an F4") {
        const std::uint32_t bits = u4(what);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // An index of a point or polygon: two bytes, or four with the top byte 0xFF.
    std::uint32_t vx(const char* what) {
        need(1, what);
        if (data_[at_] == 0xFF) return u4(what) & 0x00FFFFFFu;
        return u2(what);
    }
    // Bytes up to a 0 byte, then the pad byte that keeps the next item on an even offset.
    std::string s0(const char* what) {
        const void* end = std::memchr(data_ + at_, 0, left());
        if (!end) fail(std::string(what) + " at byte " + std::to_string(at_) + " has no 0 byte before the chunk's end");
        const std::size_t length = static_cast<const unsigned char*>(end) - (data_ + at_);
        std::string text(reinterpret_cast<const char*>(data_ + at_), length);
        at_ += length + 1;
        if ((length + 1) % 2 == 1 && !atEnd()) ++at_;
        return text;
    }

private:
    const unsigned char* data_;
    std::size_t size_;
    const FileChunk& chunk_;
    std::size_t at_ = 0;
};

std::uint32_t u4At(const std::vector<char>& bytes, std::size_t offset) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + offset;
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// Tag types whose value is always an index into TAGS.
bool namesString(LWID type) {
    static const LWID kStringTags[] = {kSurfaceTag, LWID_('P', 'A', 'R', 'T'), LWID_('B', 'O', 'N', 'E'),
                                       LWID_('C', 'O', 'L', 'R'), LWID_('M', 'T', 'I', 'P'), LWID_('M', 'F', 'L', 'G'),
                                       LWID_('B', 'N', 'U', 'P'), LWID_('B', 'N', 'W', 'T')};
    for (LWID known : kStringTags)
        if (type == known) return true;
    return false;
}

bool printableId(LWID id) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        const unsigned c = (id >> shift) & 0xFF;
        if (c < 0x20 || c > 0x7E) return false;
    }
    return true;
}

// The reading of one file: where the chunks it has seen leave the next ones.
class Reader {
public:
    Reader(ObjectFile& file, MeshObject& mesh) : file_(file), mesh_(mesh) {}

    void read() {
        const std::vector<char>& bytes = file_.bytes;
        if (bytes.size() < 12 || u4At(bytes, 0) != kForm || u4At(bytes, 8) != kObject)
            throw ReadError{describeNonObjectFile(bytes)};
        const std::uint32_t formLength = u4At(bytes, 4);
        if (formLength < 4 || formLength > bytes.size() - 8)
            throw ReadError{"FORM chunk at offset 0: says " + std::to_string(formLength) + " bytes, but " +
                            std::to_string(bytes.size() - 8) + " follow its header: the file is cut short or corrupt"};
        file_.formEnd = 8 + std::size_t(formLength);
        // Only the FORM's own pad byte may follow it.
        const std::size_t after = bytes.size() - file_.formEnd;
        if (after > formLength % 2)
            throw ReadError{"FORM chunk at offset 0: says " + std::to_string(formLength) + " bytes, but " +
                            std::to_string(after) + " more follow it in the file: the length is wrong or the file "
                            "has something appended"};
        std::size_t at = 12;
        while (at < file_.formEnd) {
            if (file_.formEnd - at < 8)
                throw ReadError{"the last " + std::to_string(file_.formEnd - at) + " byte(s) of the FORM, at offset " +
                                std::to_string(at) + ", are too few for a chunk" + afterLast()};
            FileChunk chunk{u4At(bytes, at), at, u4At(bytes, at + 4)};
            if (!printableId(chunk.id))
                throw ReadError{"the chunk at offset " + std::to_string(at) + " has no chunk ID (bytes " +
                                idText(chunk.id) + ")" + afterLast()};
            if (chunk.length > file_.formEnd - at - 8)
                throw ReadError{chunkName(chunk.id, at) + ": says " + std::to_string(chunk.length) + " bytes, but " +
                                std::to_string(file_.formEnd - at - 8) + " remain in the FORM"};
            file_.chunks.push_back(chunk);
            readChunk(file_.chunks.size() - 1);
            // The pad byte of an odd length; a writer may leave it off the last chunk.
            at += 8 + std::size_t(chunk.length) + (chunk.length % 2);
        }
    }

private:
    std::string afterLast() const {
        if (file_.chunks.empty()) return "";
        const FileChunk& last = file_.chunks.back();
        return "; the " + chunkName(last.id, last.offset) + " may have a wrong length";
    }

    void readChunk(std::size_t index) {
        const FileChunk& chunk = file_.chunks[index];
        ChunkReader in(file_.bytes, chunk);
        switch (chunk.id) {
            case kLayer: return readLayer(index, in);
            case kPoints: return readPoints(in);
            case kPolygons: return readPolygons(index, in);
            case kPolygonTags: return readPolygonTags(index, in);
            case kTagStrings: return readTagStrings(index, in);
            case kPointMap: return checkPointMap(in, false);
            case kPolygonPointMap: return checkPointMap(in, true);
            default: return;  // kept as bytes
        }
    }

    MeshLayer& currentLayer() {
        if (file_.layers.empty()) file_.layers.push_back(FileLayer{kNoChunk, 0});
        return mesh_.layer(file_.layers.back().meshIndex);
    }

    void readLayer(std::size_t index, ChunkReader& in) {
        const int number = in.u2("the layer number");
        const int flags = in.u2("the layer flags");
        double pivot[3];
        for (double& axis : pivot) axis = in.f4("the pivot");
        std::string name = in.s0("the layer name");
        const int parent = in.left() >= 2 ? static_cast<std::int16_t>(in.u2()) : -1;
        file_.layers.push_back(FileLayer{index, number});
        MeshLayer& layer = mesh_.layer(number);
        layer.name = std::move(name);
        std::copy(std::begin(pivot), std::end(pivot), layer.pivot);
        layer.hidden = flags & 1;
        layer.parent = parent < 0 ? -1 : parent;
        points_ = 0;
        layerPolygons_ = 0;
    }

    void readPoints(ChunkReader& in) {
        if (in.left() % 12 != 0)
            in.fail("its length " + std::to_string(in.left()) + " is not a whole number of 12-byte points");
        MeshLayer& layer = currentLayer();
        const int meshIndex = file_.layers.back().meshIndex;
        firstPoint_ = layer.points.size();
        points_ = in.left() / 12;
        layer.points.reserve(firstPoint_ + points_);
        while (!in.atEnd()) {
            const double x = in.f4(), y = in.f4(), z = in.f4();
            mesh_.addPoint(meshIndex, x, y, z);
        }
    }

    void readPolygons(std::size_t index, ChunkReader& in) {
        PolygonChunk polygons;
        polygons.chunk = index;
        polygons.type = in.u4("the polygon type");
        polygons.lastTagChunk = index;
        polygons.tagStringsThere = currentStrings_;
        MeshLayer& layer = currentLayer();
        const int meshIndex = file_.layers.back().meshIndex;
        std::vector<LWPntID> points;
        while (!in.atEnd()) {
            const std::size_t start = in.position();
            const int count = in.u2("a polygon's vertex count") & 0x3FF;
            points.clear();
            for (int v = 0; v < count; ++v) {
                const std::uint32_t point = in.vx("a polygon's point index");
                if (point >= points_)
                    in.fail("the polygon at byte " + std::to_string(start) + " names point " + std::to_string(point) +
                            ", but the layer's last PNTS chunk has " + std::to_string(points_));
                points.push_back(layer.points[firstPoint_ + point].get());
            }
            polygons.polygons.push_back(mesh_.addPolygon(meshIndex, polygons.type, points, false));
        }
        layerPolygons_ += polygons.polygons.size();
        file_.polygonChunks.push_back(std::move(polygons));
    }

    // Maps are kept as bytes; only their indices are checked against the points and polygons they refer to.
    void checkPointMap(ChunkReader& in, bool perPolygon) {
        in.u4("the map type");
        const int dimension = in.u2("the map dimension");
        in.s0("the map name");
        while (!in.atEnd()) {
            const std::size_t start = in.position();
            const std::uint32_t point = in.vx("a map entry's point index");
            if (point >= points_)
                in.fail("the entry at byte " + std::to_string(start) + " names point " + std::to_string(point) +
                        ", but the layer's last PNTS chunk has " + std::to_string(points_));
            if (perPolygon) {
                const std::uint32_t polygon = in.vx("a map entry's polygon index");
                if (polygon >= layerPolygons_)
                    in.fail("the entry at byte " + std::to_string(start) + " names polygon " + std::to_string(polygon) +
                            ", but the layer has " + std::to_string(layerPolygons_));
            }
            in.need(4 * std::size_t(dimension), "a map entry's values");
            for (int value = 0; value < dimension; ++value) in.f4();
        }
    }

    void readTagStrings(std::size_t index, ChunkReader& in) {
        TagStrings strings;
        strings.chunk = index;
        while (!in.atEnd()) strings.strings.push_back(in.s0("a tag string"));
        currentStrings_ = file_.tagStrings.size();
        file_.tagStrings.push_back(std::move(strings));
    }

    void readPolygonTags(std::size_t index, ChunkReader& in) {
        if (file_.polygonChunks.empty()) in.fail("no POLS chunk comes before it");
        if (currentStrings_ == kNoChunk) in.fail("no TAGS chunk comes before it");
        PolygonTagChunk tags;
        tags.chunk = index;
        tags.type = in.u4("the tag type");
        tags.polygons = file_.polygonChunks.size() - 1;
        tags.strings = currentStrings_;
        PolygonChunk& polygons = file_.polygonChunks.back();
        const std::vector<std::string>& strings = file_.tagStrings[currentStrings_].strings;
        while (!in.atEnd()) {
            TagPair pair;
            pair.polygon = in.vx("a tagged polygon's index");
            pair.tagOffset = static_cast<std::uint32_t>(in.position());
            pair.tag = in.u2("a tag index");
            if (pair.polygon >= polygons.polygons.size())
                in.fail("polygon " + std::to_string(pair.polygon) + " is beyond the " +
                        std::to_string(polygons.polygons.size()) + " of the " +
                        chunkName(kPolygons, file_.chunks[polygons.chunk].offset));
            tags.pairs.push_back(pair);
            if (pair.tag >= strings.size()) {
                // Some tag types (smoothing groups) may hold a number of their own; those are kept as bytes.
                if (!namesString(tags.type)) continue;
                in.fail("tag " + std::to_string(pair.tag) + " is beyond the " + std::to_string(strings.size()) +
                        " strings of the " + chunkName(kTagStrings, file_.chunks[file_.tagStrings[currentStrings_].chunk].offset));
            }
            // A polygon's ID is its record's address in the stand-in's mesh.
            MeshPolygon* polygon = static_cast<MeshPolygon*>(polygons.polygons[pair.polygon]);
            polygon->tags[tags.type] = strings[pair.tag];
            if (tags.type == kSurfaceTag) polygon->surface = strings[pair.tag];
        }
        polygons.lastTagChunk = index;
        polygons.tagStringsThere = currentStrings_;
        file_.polygonTags.push_back(std::move(tags));
    }

    ObjectFile& file_;
    MeshObject& mesh_;
    std::size_t firstPoint_ = 0, points_ = 0;  // the most recent PNTS chunk's points in its layer
    std::size_t currentStrings_ = kNoChunk;    // the most recent TAGS chunk
    std::size_t layerPolygons_ = 0;            // of every POLS chunk of the layer so far
};

}  // namespace

std::string idText(LWID id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const unsigned c = (id >> shift) & 0xFF;
        if (c >= 0x20 && c <= 0x7E) {
            text += static_cast<char>(c);
        } else {
            static const char digits[] = "0123456789ABCDEF";
            text += "\\x";
            text += digits[c >> 4];
            text += digits[c & 15];
        }
    }
    return text;
}

bool readObjectFile(std::vector<char> bytes, ObjectFile& file, MeshObject& mesh, std::string& error) {
    file = ObjectFile{};
    file.bytes = std::move(bytes);
    try {
        Reader(file, mesh).read();
    } catch (const ReadError& failed) {
        error = failed.message;
        return false;
    } catch (const std::bad_alloc&) {
        error = "not enough memory to read it";
        return false;
    }
    return true;
}

bool loadObjectFile(const std::string& path, ObjectFile& file, MeshObject& mesh, std::string& error) {
    // The system's own words for why, as "No such file or directory".
    auto unreadable = [&](std::error_code reason) {
        error = path + ": cannot be read (" + reason.message() + ")";
        return false;
    };
    const auto lastReason = [] { return std::error_code(errno ? errno : EIO, std::generic_category()); };
    std::error_code failed;
    const auto status = std::filesystem::status(path, failed);
    if (std::filesystem::is_directory(status)) return unreadable(std::make_error_code(std::errc::is_a_directory));
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        error = path + ": cannot be read (not a plain file)";
        return false;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (errno == 0 && status.type() == std::filesystem::file_type::not_found)
            return unreadable(std::make_error_code(std::errc::no_such_file_or_directory));
        return unreadable(lastReason());
    }
    std::vector<char> bytes;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0) {
        error = path + ": cannot be read (not a plain file)";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    errno = 0;
    if (size > 0 && !in.read(bytes.data(), size)) return unreadable(lastReason());
    if (!readObjectFile(std::move(bytes), file, mesh, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}  // namespace host
