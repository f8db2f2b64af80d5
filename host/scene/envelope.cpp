#include "host/scene/envelope.h"

#include <algorithm>
#include <cmath>

namespace host {

namespace {

// A 2D Bezier handle whose time offset is this close to 0 counts as this steep.
constexpr double kFlatHandle = 1e-5;
constexpr double kSteepHandle = 1e5;
// Bisection of a 2D Bezier span stops this close to the time sought.
constexpr double kBezierTimeTolerance = 1e-4;
constexpr int kBezierMaxSteps = 64;

double handleSlope(double valueOffset, double timeOffset, double spanTime) {
    return std::abs(timeOffset) > kFlatHandle ? valueOffset * spanTime / timeOffset
                                              : valueOffset * spanTime * kSteepHandle;
}

// The tangent leaving keys[a] towards keys[a + 1], by keys[a]'s own shape.
double outgoing(const std::vector<Key>& keys, std::size_t a) {
    const Key& from = keys[a];
    const Key& to = keys[a + 1];
    const Key* before = a > 0 ? &keys[a - 1] : nullptr;
    const double d = to.value - from.value;
    const double s = before ? (to.time - from.time) / (to.time - before->time) : 1.0;
    switch (from.shape) {
    case SpanShape::tcb: {
        const double tension = from.p[0], continuity = from.p[1], bias = from.p[2];
        const double towardsBefore = (1 - tension) * (1 + continuity) * (1 + bias);
        const double towardsAfter = (1 - tension) * (1 - continuity) * (1 - bias);
        return before ? s * (towardsBefore * (from.value - before->value) + towardsAfter * d) : towardsAfter * d;
    }
    case SpanShape::linear: return before ? s * (from.value - before->value + d) : d;
    case SpanShape::hermite:
    case SpanShape::bezier1D: return from.p[4] * s;
    case SpanShape::bezier2D: return handleSlope(from.p[3], from.p[2], to.time - from.time);
    case SpanShape::stepped: return 0.0;
    }
    return 0.0;
}

// The tangent arriving at keys[b] from keys[b - 1], by keys[b]'s own shape.
double incoming(const std::vector<Key>& keys, std::size_t b) {
    const Key& from = keys[b - 1];
    const Key& to = keys[b];
    const Key* after = b + 1 < keys.size() ? &keys[b + 1] : nullptr;
    const double d = to.value - from.value;
    const double s = after ? (to.time - from.time) / (after->time - from.time) : 1.0;
    switch (to.shape) {
    case SpanShape::tcb: {
        const double tension = to.p[0], continuity = to.p[1], bias = to.p[2];
        const double towardsBefore = (1 - tension) * (1 - continuity) * (1 + bias);
        const double towardsAfter = (1 - tension) * (1 + continuity) * (1 - bias);
        return after ? s * (towardsAfter * (after->value - to.value) + towardsBefore * d) : towardsBefore * d;
    }
    case SpanShape::linear: return after ? s * (after->value - to.value + d) : d;
    case SpanShape::hermite:
    case SpanShape::bezier1D: return to.p[3] * s;
    case SpanShape::bezier2D: return handleSlope(to.p[1], to.p[0], to.time - from.time);
    case SpanShape::stepped: return 0.0;
    }
    return 0.0;
}

double bezier(double p0, double p1, double p2, double p3, double u) {
    const double v = 1 - u;
    return v * v * v * p0 + 3 * v * v * u * p1 + 3 * v * u * u * p2 + u * u * u * p3;
}

// The span from a to b as a cubic Bezier in (time, value): the curve parameter
// whose time is `time`, found by bisection, gives the value.
double bezier2DSpan(const Key& a, const Key& b, double time) {
    const double span = b.time - a.time;
    const bool aIs2D = a.shape == SpanShape::bezier2D;
    const double t1 = a.time + (aIs2D ? a.p[2] : span / 3), t2 = b.time + b.p[0];
    const double v1 = a.value + (aIs2D ? a.p[3] : a.p[4] / 3), v2 = b.value + b.p[1];
    double low = 0.0, high = 1.0, u = 0.5;
    for (int step = 0; step < kBezierMaxSteps; ++step) {
        u = low + (high - low) * 0.5;
        const double at = bezier(a.time, t1, t2, b.time, u);
        if (std::abs(at - time) <= kBezierTimeTolerance) break;
        (at > time ? high : low) = u;
    }
    return bezier(a.value, v1, v2, b.value, u);
}

double hermiteSpan(const std::vector<Key>& keys, std::size_t b, double time) {
    const Key& a = keys[b - 1];
    const double u = (time - a.time) / (keys[b].time - a.time);
    const double u2 = u * u, u3 = u2 * u;
    const double h1 = 2 * u3 - 3 * u2 + 1, h2 = -2 * u3 + 3 * u2, h3 = u3 - 2 * u2 + u, h4 = u3 - u2;
    return h1 * a.value + h2 * keys[b].value + h3 * outgoing(keys, b - 1) + h4 * incoming(keys, b);
}

// Within [first key, last key].
double inside(const std::vector<Key>& keys, double time) {
    const auto at = std::lower_bound(keys.begin(), keys.end(), time,
                                     [](const Key& k, double t) { return k.time < t; });
    if (at == keys.end()) return keys.back().value;
    if (at->time == time || at == keys.begin()) return at->value;
    const std::size_t b = static_cast<std::size_t>(at - keys.begin());
    const Key& from = keys[b - 1];
    const Key& to = keys[b];
    switch (to.shape) {
    case SpanShape::linear: return from.value + (to.value - from.value) * (time - from.time) / (to.time - from.time);
    case SpanShape::stepped: return from.value;
    case SpanShape::bezier2D: return bezier2DSpan(from, to, time);
    case SpanShape::tcb:
    case SpanShape::hermite:
    case SpanShape::bezier1D: return hermiteSpan(keys, b, time);
    }
    return from.value;
}

// A time outside the keys brought into [first, last] by whole cycles of their
// length; `cycles` is how many were taken away (negative before the first key).
struct Wrapped {
    double time;
    double cycles;
};

Wrapped wrapped(double time, double first, double last) {
    const double length = last - first;
    if (!(length > 0)) return {first, 0.0};  // every key at one time
    const double cycles = std::floor((time - first) / length);
    double at = time - cycles * length;
    if (!(at >= first)) at = first;  // rounding, or a time too far out to wrap
    if (at > last) at = last;
    return {at, std::isfinite(cycles) ? cycles : 0.0};
}

}  // namespace

double Channel::valueAt(double time) const {
    if (keys.empty()) return 0.0;
    const Key& first = keys.front();
    const Key& last = keys.back();
    if (keys.size() == 1 || std::isnan(time)) return first.value;
    const bool before = time < first.time;
    if (!before && !(time > last.time)) return inside(keys, time);

    const Key& end = before ? first : last;
    double offset = 0.0;
    switch (before ? pre : post) {
    case Behavior::reset: return 0.0;
    case Behavior::constant: return end.value;
    case Behavior::linear: {
        const double span = before ? keys[1].time - first.time : last.time - keys[keys.size() - 2].time;
        const double tangent = before ? outgoing(keys, 0) : incoming(keys, keys.size() - 1);
        return span > 0 ? end.value + tangent / span * (time - end.time) : end.value;
    }
    case Behavior::repeat: time = wrapped(time, first.time, last.time).time; break;
    case Behavior::oscillate: {
        const Wrapped w = wrapped(time, first.time, last.time);
        time = std::fmod(w.cycles, 2.0) != 0.0 ? first.time + last.time - w.time : w.time;
        break;
    }
    case Behavior::offsetRepeat: {
        const Wrapped w = wrapped(time, first.time, last.time);
        time = w.time;
        if (last.value != first.value) offset = w.cycles * (last.value - first.value);
        break;
    }
    }
    return inside(keys, time) + offset;
}

void Channel::setKey(double time, double value) {
    auto at = std::lower_bound(keys.begin(), keys.end(), time, [](const Key& k, double t) { return k.time < t; });
    if (at != keys.end() && at->time == time)
        *at = Key{time, value};
    else
        keys.insert(at, Key{time, value});
}

}  // namespace host
