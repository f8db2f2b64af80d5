// A long session of a 200-muscle rig: frames evaluated while instances are
// added, copied and removed and ReadMuscle runs again, with the module's live
// memory measured as it goes. It must stay flat: nothing grows but the
// registry's records, and those only for new bones. The full length (10,000
// frames) runs where SINEWRIG_SOAK_FRAMES asks for it (the asan build); other
// builds run a short session.
#include <cstdlib>
#include <cstdio>
#include <fstream>

#include "tests/layout_session.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's count of live heap bytes (its header is not shipped with every compiler).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#elif defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

constexpr int kMuscles = 200;

// Bytes the process has allocated and not freed; -1 where it cannot be told.
long long liveBytes() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#elif defined(__GLIBC__)
    return static_cast<long long>(mallinfo2().uordblks);
#else
    return -1;
#endif
}

long long peakResidentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::atoll(line.c_str() + 6);
    return -1;
}

int soakFrames() {
    const char* frames = std::getenv("SINEWRIG_SOAK_FRAMES");
    return frames ? std::max(1, std::atoi(frames)) : 400;
}

class Soak : public LayoutSession {};

}  // namespace

TEST_F(Soak, MemoryStaysFlatThroughALongSession) {
    for (int i = 0; i < kMuscles; ++i) {
        // Pairs of connected skelegons, each muscle reaching for the next pair's first bone.
        const double pivot[3] = {0.1 * (i / 2), 0, double(i % 2)}, tip[3] = {0.1 * (i / 2), 0, double(i % 2 + 1)};
        const int next = (i + 2) % kMuscles;
        skelegon(("m" + std::to_string(i)).c_str(), muscleTags(std::to_string(i % 4), ("m" + std::to_string(next)).c_str()),
                 pivot, tip);
    }
    loadObject();
    for (int i = 0; i < kMuscles; i += 2) {
        const double bent[3] = {0.01 * i, 0.5, 0.1};
        layout.scene.setKey(bones[i + 1], LWIP_ROTATION, 1.0, bent);
    }
    layout.log.enabled = false;
    ASSERT_EQ(readMuscle(), AFUNC_OK);

    const int frames = soakFrames();
    const int cycle = std::max(1, frames / 10);
    long long made = long(handlers->instances().size()), destroyed = 0;
    std::vector<long long> live;
    for (int frame = 0; frame < frames; ++frame) {
        handlers->evaluate(frame / 30.0);
        if (frame % cycle != cycle - 1) continue;
        // A few extra instances, copied from the muscles and removed again.
        std::vector<LWInstance> extra;
        for (int i = 0; i < 20; ++i) {
            LWInstance instance = handlers->apply(bones[(frame + 7 * i) % kMuscles]);
            ASSERT_NE(instance, nullptr);
            handlers->copy(instance, handlers->instances()[std::size_t(i)].instance);
            handlers->copy(instance, instance);
            extra.push_back(instance);
        }
        made += long(extra.size());
        for (LWInstance instance : extra) handlers->remove(instance);
        destroyed += long(extra.size());
        // ReadMuscle again applies the handler to every muscle bone once more; the older instances go.
        layout.select({object});
        ASSERT_EQ(readMuscle(), AFUNC_OK);
        std::vector<LWInstance> older;
        for (std::size_t i = 0; i < kMuscles; ++i) older.push_back(handlers->instances()[i].instance);
        for (LWInstance instance : older) handlers->remove(instance);
        made += kMuscles;
        destroyed += kMuscles;
        ASSERT_EQ(handlers->instances().size(), std::size_t(kMuscles));
        // What the stand-in itself keeps of the session goes, so that only the module's memory is left to grow.
        layout.commands.clear();
        layout.services.lookups.clear();
        layout.meshViews.releaseDestroyed();
        live.push_back(liveBytes());
    }
    handlers->removeAll();
    destroyed += kMuscles;
    std::printf("soak: %d frames of %d muscle bones, %lld instances made, %lld destroyed, live heap %lld to %lld bytes, "
                "peak resident %lld KiB\n",
                frames, kMuscles, made, destroyed, live.empty() ? -1 : live.front(), live.empty() ? -1 : live.back(),
                peakResidentKiB());
    if (live.size() >= 2 && live.front() >= 0) {
        // From the second checkpoint on, after every container has reached its working size.
        const long long settled = live[std::min<std::size_t>(1, live.size() - 1)];
        EXPECT_LE(live.back(), settled + 16 * 1024) << "live heap grew by " << (live.back() - settled) << " bytes";
    }
}
