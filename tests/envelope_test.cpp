// The stand-in's channels evaluated as the host evaluates envelopes: each span
// shape and each behaviour against values worked out by hand, and the
// degenerate envelopes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/scene/envelope.h"

namespace {

using host::Behavior;
using host::Channel;
using host::Key;
using host::SpanShape;

Key key(double time, double value, SpanShape shape, std::initializer_list<double> p = {}) {
    Key k{time, value, shape};
    int i = 0;
    for (double v : p) k.p[i++] = v;
    return k;
}

// With u = 1/2 the Hermite basis is h1 = h2 = 1/2, h3 = 1/8, h4 = -1/8, so
// a span's middle is (va + vb) / 2 + (out(a) - in(b)) / 8.

TEST(Envelope, LinearSpansAreStraightAndStayTheExpressionTheStandInAlwaysUsed) {
    Channel c{{key(0, 1, SpanShape::linear), key(2, 5, SpanShape::linear)}};
    EXPECT_EQ(c.valueAt(0.5), 2.0);  // 1 + 4 * 0.5 / 2
    EXPECT_EQ(c.valueAt(2.0), 5.0);
    // The golden channels of the example rigs hold to the bit: the difference
    // times the elapsed time, then divided, as keys set by the rig tool always were.
    Channel odd{{key(0.1, 0.1, SpanShape::linear), key(3.1, 0.7, SpanShape::linear)}};
    const double expected = 0.1 + (0.7 - 0.1) * (1.3 - 0.1) / (3.1 - 0.1);
    EXPECT_EQ(odd.valueAt(1.3), expected);
}

TEST(Envelope, SteppedSpansHoldTheValueBeforeThemUntilTheirKey) {
    Channel c{{key(0, 1, SpanShape::linear), key(1, 3, SpanShape::stepped)}};
    EXPECT_EQ(c.valueAt(0.999), 1.0);
    EXPECT_EQ(c.valueAt(1.0), 3.0);
}

TEST(Envelope, TcbSpansTakeTheirTangentsFromTheNeighbouringKeys) {
    // Keys 0 at 0, 1 at 1, 0 at 2, all TCB at 0 0 0.
    // Span 0-1: out(k0) = d = 1 (no key before); in(k1) = s (vn - vb + d) with
    // s = 1/2: (0 - 1 + 1) / 2 = 0. Middle: 1/2 + (1 - 0) / 8 = 0.625.
    Channel plain{{key(0, 0, SpanShape::tcb), key(1, 1, SpanShape::tcb), key(2, 0, SpanShape::tcb)}};
    EXPECT_DOUBLE_EQ(plain.valueAt(0.5), 0.625);
    // Span 1-2: out(k1) = 1/2 (1 - 0 + (0 - 1)) = 0; in(k2) = d = -1 (no key after).
    // Middle: 1/2 + (0 + 1) / 8 = 0.625.
    EXPECT_DOUBLE_EQ(plain.valueAt(1.5), 0.625);

    // Continuity 0.5 at k1: arriving, A = (1 - 0.5) = 0.5 on d and Bc = 1.5 on
    // the next step: in(k1) = 1/2 (1.5 (0 - 1) + 0.5 (1)) = -0.5.
    // Middle of 0-1: 1/2 + (1 + 0.5) / 8 = 0.6875.
    Channel continuity{{key(0, 0, SpanShape::tcb), key(1, 1, SpanShape::tcb, {0, 0.5, 0}), key(2, 0, SpanShape::tcb)}};
    EXPECT_DOUBLE_EQ(continuity.valueAt(0.5), 0.6875);
    // Bias 0.5 at k1: leaving, A = 1.5 on the step before and Bc = 0.5 on d:
    // out(k1) = 1/2 (1.5 (1 - 0) + 0.5 (0 - 1)) = 0.5. Middle of 1-2:
    // 1/2 + (0.5 + 1) / 8 = 0.6875.
    Channel bias{{key(0, 0, SpanShape::tcb), key(1, 1, SpanShape::tcb, {0, 0, 0.5}), key(2, 0, SpanShape::tcb)}};
    EXPECT_DOUBLE_EQ(bias.valueAt(1.5), 0.6875);
    // Tension 1 flattens both tangents at k1: middle of 0-1 is 1/2 + (1 - 0) / 8.
    Channel tense{{key(0, 0, SpanShape::tcb), key(1, 1, SpanShape::tcb, {1, 0, 0}), key(2, 0, SpanShape::tcb)}};
    EXPECT_DOUBLE_EQ(tense.valueAt(0.5), 0.625);
    EXPECT_DOUBLE_EQ(tense.valueAt(1.5), 0.5 + (0 + 1) / 8.0);
}

TEST(Envelope, HermiteAndOneDimensionalBezierSpansUseTheKeysTangentsScaledByTheNeighbouringSpans) {
    for (SpanShape shape : {SpanShape::hermite, SpanShape::bezier1D}) {
        // out(k0) = its p5 = 2, in(k1) = its p4 = 0: 1/2 + 2/8 = 0.75.
        Channel two{{key(0, 0, shape, {0, 0, 0, 0, 2}), key(1, 1, shape)}};
        EXPECT_DOUBLE_EQ(two.valueAt(0.5), 0.75);
        // Keys at 0, 1, 3. Leaving k1 (p5 = 2) with k0 before: s = (3 - 1) / (3 - 0),
        // out = 4/3; middle of 1-3: 1 + (4/3) / 8 = 7/6.
        // Arriving at k1 (p4 = 3) with k2 after: s = (1 - 0) / (3 - 0), in = 1;
        // middle of 0-1: 1/2 - 1/8 = 0.375.
        Channel three{{key(0, 0, shape), key(1, 1, shape, {0, 0, 0, 3, 2}), key(3, 1, shape)}};
        EXPECT_DOUBLE_EQ(three.valueAt(2.0), 7.0 / 6.0);
        EXPECT_DOUBLE_EQ(three.valueAt(0.5), 0.375);
    }
}

TEST(Envelope, TwoDimensionalBezierSpansFollowTheirHandlesInTimeAndValue) {
    // Handles at a third and two thirds of a span of 3 make time run evenly
    // (control times 0 1 2 3), so the curve parameter is t / 3; control values
    // 0 1 1 0 give 3u(1 - u): 0.75 at t = 1.5 and 0.5625 at t = 0.75.
    Channel c{{key(0, 0, SpanShape::bezier2D, {0, 0, 1, 1}), key(3, 0, SpanShape::bezier2D, {-1, 1})}};
    EXPECT_DOUBLE_EQ(c.valueAt(1.5), 0.75);
    EXPECT_DOUBLE_EQ(c.valueAt(0.75), 0.5625);
    // A key before it that is not 2D Bezier gives the outgoing handle a third of
    // the span in time and its p5 / 3 in value: p5 = 3 makes the same curve.
    Channel mixed{{key(0, 0, SpanShape::hermite, {0, 0, 0, 0, 3}), key(3, 0, SpanShape::bezier2D, {-1, 1})}};
    EXPECT_DOUBLE_EQ(mixed.valueAt(1.5), 0.75);
    // Handles on the keys themselves: time and value follow the same curve, and
    // the bisection stops within 1e-4 of the time sought.
    Channel flat{{key(0, 0, SpanShape::bezier2D), key(1, 1, SpanShape::bezier2D)}};
    EXPECT_NEAR(flat.valueAt(0.3), 0.3, 1e-4);
}

TEST(Envelope, ATinyTwoDimensionalBezierHandleMakesASteepButFiniteTangent) {
    // Leaving k0 with a handle of time 0 and value 1e-6 over a span of 1: the
    // tangent is 1e-6 * 1 * 1e5 = 0.1 instead of a division by zero. The Hermite
    // span to k1 (in = 0): 1/2 + 0.1 / 8 = 0.5125.
    Channel c{{key(0, 0, SpanShape::bezier2D, {0, 0, 0, 1e-6}), key(1, 1, SpanShape::hermite)}};
    EXPECT_NEAR(c.valueAt(0.5), 0.5125, 1e-12);
    // Just above the limit the division is made: 2e-5 / 2e-5 * 1 = 1; 1/2 + 1/8.
    Channel above{{key(0, 0, SpanShape::bezier2D, {0, 0, 2e-5, 2e-5}), key(1, 1, SpanShape::hermite)}};
    EXPECT_NEAR(above.valueAt(0.5), 0.625, 1e-12);
}

// Keys 1 at 0 and 3 at 2, linear: the line 1 + t between them.
Channel line(Behavior pre, Behavior post) {
    Channel c{{key(0, 1, SpanShape::linear), key(2, 3, SpanShape::linear)}};
    c.pre = pre;
    c.post = post;
    return c;
}

TEST(Envelope, ResetAndConstantGiveZeroOrTheEndKey) {
    EXPECT_EQ(line(Behavior::reset, Behavior::reset).valueAt(-1), 0.0);
    EXPECT_EQ(line(Behavior::reset, Behavior::reset).valueAt(3), 0.0);
    EXPECT_EQ(line(Behavior::constant, Behavior::constant).valueAt(-1), 1.0);
    EXPECT_EQ(line(Behavior::constant, Behavior::constant).valueAt(3), 3.0);
    // The end keys themselves are inside.
    EXPECT_EQ(line(Behavior::reset, Behavior::reset).valueAt(0), 1.0);
    EXPECT_EQ(line(Behavior::reset, Behavior::reset).valueAt(2), 3.0);
}

TEST(Envelope, RepeatWrapsTheTimeIntoTheKeys) {
    const Channel c = line(Behavior::repeat, Behavior::repeat);
    EXPECT_DOUBLE_EQ(c.valueAt(2.5), 1.5);      // 0.5 into the next cycle
    EXPECT_DOUBLE_EQ(c.valueAt(-0.5), 2.5);     // 1.5 into the cycle before
    EXPECT_DOUBLE_EQ(c.valueAt(2000.5), 1.5);   // 1000 cycles on
    EXPECT_DOUBLE_EQ(c.valueAt(-1999.5), 1.5);  // 1000 cycles back: -1999.5 + 2000
    EXPECT_DOUBLE_EQ(c.valueAt(4.0), 1.0);      // a whole cycle on: the first key
}

TEST(Envelope, OscillateRunsEveryOtherCycleBackwards) {
    const Channel c = line(Behavior::oscillate, Behavior::oscillate);
    EXPECT_DOUBLE_EQ(c.valueAt(2.5), 2.5);      // cycle 1, mirrored: 0 + 2 - 0.5 = 1.5
    EXPECT_DOUBLE_EQ(c.valueAt(4.5), 1.5);      // cycle 2, forwards at 0.5
    EXPECT_DOUBLE_EQ(c.valueAt(-0.5), 1.5);     // cycle -1, mirrored: 2 - 1.5 = 0.5
    EXPECT_DOUBLE_EQ(c.valueAt(2000.5), 1.5);   // cycle 1000, forwards
    EXPECT_DOUBLE_EQ(c.valueAt(2002.5), 2.5);   // cycle 1001, mirrored
}

TEST(Envelope, OffsetRepeatAddsTheRiseOfEveryCycle) {
    // Each cycle adds 3 - 1 = 2, so the line 1 + t goes on either way.
    const Channel c = line(Behavior::offsetRepeat, Behavior::offsetRepeat);
    EXPECT_DOUBLE_EQ(c.valueAt(2.5), 3.5);
    EXPECT_DOUBLE_EQ(c.valueAt(-0.5), 0.5);
    EXPECT_DOUBLE_EQ(c.valueAt(2000.5), 2001.5);
    EXPECT_DOUBLE_EQ(c.valueAt(-1999.5), -1998.5);
}

TEST(Envelope, LinearBehaviourGoesOnAlongTheEndTangent) {
    // Linear end keys: the tangent is the step d = 2 over a span of 2, slope 1.
    const Channel c = line(Behavior::linear, Behavior::linear);
    EXPECT_DOUBLE_EQ(c.valueAt(-1), 0.0);
    EXPECT_DOUBLE_EQ(c.valueAt(3), 4.0);
    // TCB end keys at 0 0 0: in(last) = A d = 2, the same slope 1.
    Channel tcb{{key(0, 1, SpanShape::tcb), key(2, 3, SpanShape::tcb)}, Behavior::linear, Behavior::linear};
    EXPECT_DOUBLE_EQ(tcb.valueAt(5), 6.0);
    // A Hermite last key arriving flat (p4 = 0) stays at its value; a stepped first key too.
    Channel flat{{key(0, 1, SpanShape::stepped), key(2, 3, SpanShape::hermite)}, Behavior::linear, Behavior::linear};
    EXPECT_DOUBLE_EQ(flat.valueAt(5), 3.0);
    EXPECT_DOUBLE_EQ(flat.valueAt(-5), 1.0);
}

TEST(Envelope, DegenerateEnvelopesHaveDefinedValues) {
    // No key: 0 whatever the behaviour.
    EXPECT_EQ((Channel{{}, Behavior::linear, Behavior::offsetRepeat}).valueAt(7), 0.0);
    // One key: its value everywhere, even with reset.
    Channel one{{key(1, 4, SpanShape::tcb)}, Behavior::reset, Behavior::reset};
    EXPECT_EQ(one.valueAt(-100), 4.0);
    EXPECT_EQ(one.valueAt(100), 4.0);

    // Keys sharing a time: exactly there the first of them, after it the span
    // from the last of them.
    Channel step{{key(0, 0, SpanShape::linear), key(1, 1, SpanShape::linear), key(1, 3, SpanShape::linear),
                  key(2, 3, SpanShape::linear)}};
    EXPECT_EQ(step.valueAt(1), 1.0);
    EXPECT_DOUBLE_EQ(step.valueAt(0.5), 0.5);
    EXPECT_DOUBLE_EQ(step.valueAt(1.5), 3.0);
    // TCB across such keys stays finite: leaving k2 (k1 before it at the same
    // time), s = (2 - 1) / (2 - 1) = 1 and out = (3 - 1) + (3 - 3) = 2; in(k3) =
    // d = 0. Middle of 1-2: 3 + 2 / 8 = 3.25.
    Channel tcbStep{{key(0, 0, SpanShape::tcb), key(1, 1, SpanShape::tcb), key(1, 3, SpanShape::tcb),
                     key(2, 3, SpanShape::tcb)}};
    EXPECT_DOUBLE_EQ(tcbStep.valueAt(1.5), 3.25);

    // Every key at one time: nothing to wrap or to slope along.
    Channel instant{{key(1, 5, SpanShape::linear), key(1, 7, SpanShape::linear)}};
    for (Behavior b : {Behavior::repeat, Behavior::oscillate, Behavior::offsetRepeat, Behavior::linear}) {
        instant.pre = instant.post = b;
        EXPECT_EQ(instant.valueAt(0), 5.0) << int(b);
        EXPECT_EQ(instant.valueAt(3), 5.0 + (b == Behavior::linear ? 2.0 : 0.0)) << int(b);
    }
    // A time that is not a number gives the first key's value; an infinite one wraps to defined values.
    const Channel wraps = line(Behavior::offsetRepeat, Behavior::oscillate);
    EXPECT_EQ(wraps.valueAt(std::numeric_limits<double>::quiet_NaN()), 1.0);
    EXPECT_TRUE(std::isfinite(wraps.valueAt(std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(std::isfinite(wraps.valueAt(-std::numeric_limits<double>::infinity())));
}

TEST(Envelope, SetKeyAddsLinearKeysInTimeOrderAndReplacesOneAtTheSameTime) {
    Channel c;
    c.setKey(2, 4);
    c.setKey(0, 0);
    c.setKey(1, 9);
    c.keys[1].shape = SpanShape::stepped;
    c.setKey(1, 2);
    ASSERT_EQ(c.keys.size(), 3u);
    EXPECT_EQ(c.keys[1].value, 2.0);
    for (const Key& k : c.keys) EXPECT_EQ(k.shape, SpanShape::linear);
    EXPECT_DOUBLE_EQ(c.valueAt(1.5), 3.0);
    EXPECT_EQ(c.valueAt(-1), 0.0);  // constant before
    EXPECT_EQ(c.valueAt(5), 4.0);   // and after
}

}  // namespace
