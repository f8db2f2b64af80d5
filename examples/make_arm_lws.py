#!/usr/bin/env python3
"""Writes examples/arm.lws, the arm of examples/arm.lwo as a TD saves it in
Layout after ReadMuscle: the bones Layout makes from the object's skelegons,
the Biceps and Triceps with their Sinewrig blocks in text mode, the forearm
keyed with several span types, a light and a camera. Byte by byte, without
the tool."""
import math
import os
import struct

FPS = 24

def f32(v):
    return struct.unpack(">f", struct.pack(">f", v))[0]

def num(v):
    """A float as the host writes it: at most 8 significant digits."""
    text = "%.8g" % v
    return "0" if text in ("-0", "0") else text

def envelope(keys, behaviors="1 1"):
    # keys: (value, time in seconds, span type, p1..p6)
    lines = ["{ Envelope", "  %d" % len(keys)]
    for key in keys:
        value, time, span = key[0], key[1], key[2]
        params = list(key[3:]) + [0] * (6 - len(key[3:]))
        lines.append("  Key " + " ".join([num(value), num(time), str(span)] + [num(p) for p in params]))
    lines += ["  Behaviors " + behaviors, "}"]
    return lines

def motion(keyword, still, keyed=None):
    """NumChannels 9, each channel one TCB key at frame 0 unless keyed."""
    keyed = keyed or {}
    lines = [keyword, "NumChannels 9"]
    for c in range(9):
        lines.append("Channel %d" % c)
        lines += envelope(keyed.get(c, [(still[c], 0, 0)]))
    return lines

# The skelegons of examples/arm.lwo (single precision, as the file holds them).
P = {name: (tuple(f32(x) for x in pivot), tuple(f32(x) for x in tip)) for name, (pivot, tip) in {
    "UpperArm": ((0, 1.40, 0.00), (0, 1.40, 0.30)),
    "ForeArm": ((0, 1.40, 0.30), (0, 1.40, 0.56)),
    "Biceps": ((0, 1.44, 0.04), (0, 1.435, 0.34)),
    "Triceps": ((0, 1.36, 0.02), (0, 1.37, 0.31)),
}.items()}

def aim(name):
    """Heading and pitch (degrees) that turn +Z onto the skelegon, and its length."""
    (px, py, pz), (tx, ty, tz) = P[name]
    dx, dy, dz = tx - px, ty - py, tz - pz
    length = math.sqrt(dx * dx + dy * dy + dz * dz)
    heading = math.degrees(math.atan2(dx, dz))
    pitch = math.degrees(-math.atan2(dy, math.sqrt(dx * dx + dz * dz)))
    return heading, pitch, length

def bone(name, position, muscle=None, parent=None, keyed=None):
    heading, pitch, length = aim(name)
    still = [position[0], position[1], position[2], math.radians(heading), math.radians(pitch), 0, 1, 1, 1]
    colour = "0.376471 0.878431 0.941176" if muscle is None else "0.533333 0 0"
    lines = ["AddBone", "BoneName " + name, "ShowBone 1 -1 " + colour, "BoneActive 1", "BoneStrength 1",
             "ScaleBoneStrength 1",
             "BoneRestPosition " + " ".join(num(v) for v in position),
             "BoneRestDirection %s %s 0" % (num(heading), num(pitch)),
             "BoneRestLength " + num(length)]
    lines += motion("BoneMotion", still, keyed)
    if parent:
        lines.append("ParentItem " + parent)
    if muscle:
        lines += ["Plugin ItemMotionHandler 1 Sinewrig"] + muscle + ["EndPlugin"]
    return lines + [""]

def muscle_block(number, reference, preserve, after_ik, length, tip):
    """The handler's save in text mode: the bone and its reference (U4, hex),
    preserve volume and after IK (U1, two hex digits), the rest length and
    the rest tip in the reference's frame (FP)."""
    return ["%x" % number, "%x" % reference, "%02x" % preserve, "%02x" % after_ik, num(f32(length)),
            " ".join(num(f32(v)) for v in tip)]

def scene():
    upper, fore = P["UpperArm"][0], P["ForeArm"][0]
    biceps_tip, triceps_tip = P["Biceps"][1], P["Triceps"][1]
    in_forearm = lambda tip: (tip[0] - fore[0], tip[1] - fore[1], tip[2] - fore[2])
    bent = math.radians(-115)
    fore_keys = {
        # heading: a TCB key, a stepped one and a Hermite one with its tangents
        3: [(0, 0, 0), (0.2, 1.0, 4), (0, 1.75, 1, 0, 0, 0, 0.1, -0.1)],
        # pitch: bent over a second and a half through TCB, then held by a linear span
        4: [(0, 0, 0, 0.2, 0, 0), (bent, 1.5, 0, 0, 0, 0), (bent, 2.0, 3)],
    }
    upper_keys = {
        # bank: 2D Bezier spans with their handles
        5: [(0, 0, 5, 0, 0, 0.25, 0.05), (0.15, 1.0, 5, -0.25, 0.02, 0.25, -0.02), (0, 2.0, 5, -0.3, 0)],
    }
    lines = ["LWSC", "3", "",
             "FirstFrame 0", "LastFrame 48", "FrameStep 1", "PreviewFirstFrame 0", "PreviewLastFrame 48",
             "PreviewFrameStep 1", "CurrentFrame 0", "FramesPerSecond %d" % FPS, "",
             "LoadObjectLayer 1 arm.lwo", "ShowObject 6 7"]
    lines += motion("ObjectMotion", [0, 0, 0, 0, 0, 0, 1, 1, 1])
    lines += ["ShadowOptions 7", ""]
    lines += bone("UpperArm", upper, keyed=upper_keys)
    # The forearm hangs from the upper arm, at its tip.
    lines += bone("ForeArm", (fore[0] - upper[0], fore[1] - upper[1], fore[2] - upper[2]), parent="40000000",
                  keyed=fore_keys)
    lines += bone("Biceps", P["Biceps"][0],
                  muscle_block(0x40020000, 0x40010000, 1, 1, aim("Biceps")[2], in_forearm(biceps_tip)))
    lines += bone("Triceps", P["Triceps"][0],
                  muscle_block(0x40030000, 0x40010000, 0, 1, aim("Triceps")[2], in_forearm(triceps_tip)))
    lines += ["AmbientColor 1 1 1", "AmbientIntensity 0.05", "",
              "AddLight", "LightName Light", "ShowLight 0 7"]
    lines += motion("LightMotion", [-2, 2, -2, math.radians(45), math.radians(35), 0, 1, 1, 1])
    lines += ["LightColor 1 1 1", "LightIntensity 1", "AffectCaustics 1", "LightType 0", "ShadowType 1", "",
              "AddCamera", "CameraName Camera", "ShowCamera 1 7"]
    lines += motion("CameraMotion", [1.2, 1.45, 0.28, math.radians(-90), 0, 0, 1, 1, 1])
    lines += ["ZoomFactor 3.2", "ResolutionMultiplier 1", "FrameSize 640 480", "AntiAliasing 0", "",
              "RenderMode 2", "RayTraceEffects 0", "DataOverlayLabel  ", "ViewConfiguration 0", ""]
    return "\n".join(lines)

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "arm.lws"), "w", newline="\n") as f:
    f.write(scene())
