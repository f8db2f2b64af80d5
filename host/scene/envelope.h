// A channel as the host keeps it: an envelope of keys, each with the shape of
// the span that ends at it, and what the channel does before its first key
// and after its last.
#pragma once

#include <vector>

namespace host {

// The shape of the span that ends at a key, numbered as scene files number it.
enum class SpanShape : int { tcb = 0, hermite = 1, bezier1D = 2, linear = 3, stepped = 4, bezier2D = 5 };

// What a channel does outside its keys, numbered as scene files number it.
enum class Behavior : int { reset = 0, constant = 1, repeat = 2, oscillate = 3, offsetRepeat = 4, linear = 5 };

struct Key {
    double time;
    double value;
    SpanShape shape = SpanShape::linear;
    // The key's six parameters as scene files give them. TCB: tension,
    // continuity, bias in p[0..2]. Hermite and 1D Bezier: the incoming and
    // outgoing tangent in p[3], p[4]. 2D Bezier: the incoming handle's time and
    // value offsets in p[0], p[1], the outgoing handle's in p[2], p[3].
    double p[6] = {0, 0, 0, 0, 0, 0};
};

struct Channel {
    std::vector<Key> keys;  // in increasing time; keys may share a time
    Behavior pre = Behavior::constant;
    Behavior post = Behavior::constant;

    // 0 with no key, the key's value with one; exactly at a key's time the
    // value of the first key there.
    double valueAt(double time) const;
    // A linear key at that time, replacing a key there.
    void setKey(double time, double value);
};

}  // namespace host
