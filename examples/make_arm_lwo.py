#!/usr/bin/env python3
"""Writes examples/arm.lwo, the arm of examples/arm.json as Modeler saves it,
and the object-file fuzz target's seeds, byte by byte without the tool."""
import os
import struct

def u2(v): return struct.pack(">H", v)
def u4(v): return struct.pack(">I", v)
def vec(x, y, z): return struct.pack(">fff", x, y, z)
def vx(i): return u2(i) if i < 0xFF00 else u4(i | 0xFF000000)
def s0(text):
    b = text.encode("ascii") + b"\0"
    return b + b"\0" if len(b) % 2 else b
def chunk(cid, data):
    return cid + u4(len(data)) + data + (b"\0" if len(data) % 2 else b"")
def form(chunks, kind=b"LWO2"):
    return b"FORM" + u4(len(chunks) + 4) + kind + chunks

def arm(name_tag=b"PART", tagged=False):
    tags = ["Default", "UpperArm", "ForeArm", "Biceps", "Triceps", "DkBlu", "Skin"]
    if tagged:
        tags += ["DkRed", "3", "2"]
    # Points: the arm's chain shares the elbow point; the muscles have their own.
    points = [(0, 1.40, 0.00), (0, 1.40, 0.30), (0, 1.40, 0.56),
              (0, 1.44, 0.04), (0, 1.435, 0.34), (0, 1.36, 0.02), (0, 1.37, 0.31),
              # a sleeve quad around the upper arm
              (-0.05, 1.35, 0.0), (0.05, 1.35, 0.0), (0.05, 1.35, 0.3), (-0.05, 1.35, 0.3)]
    bones = [(0, 1), (1, 2), (3, 4), (5, 6)]
    c = b""
    c += chunk(b"TAGS", b"".join(s0(t) for t in tags))
    c += chunk(b"LAYR", u2(0) + u2(0) + vec(0, 0, 0) + s0("Arm"))
    c += chunk(b"PNTS", b"".join(vec(*p) for p in points))
    c += chunk(b"BBOX", vec(-0.05, 1.35, 0) + vec(0.05, 1.44, 0.56))
    # A weight map on the biceps' points, kept as it is.
    c += chunk(b"VMAP", b"WGHT" + u2(1) + s0("Biceps") + vx(3) + struct.pack(">f", 1.0) + vx(4) + struct.pack(">f", 1.0))
    c += chunk(b"POLS", b"FACE" + u2(4) + vx(7) + vx(8) + vx(9) + vx(10))
    c += chunk(b"PTAG", b"SURF" + vx(0) + u2(6))
    c += chunk(b"PTAG", b"COLR" + vx(0) + u2(5))
    c += chunk(b"POLS", b"BONE" + b"".join(u2(2) + vx(a) + vx(b) for a, b in bones))
    c += chunk(b"PTAG", name_tag + b"".join(vx(i) + u2(1 + i) for i in range(4)))
    colours = [5, 5, 7, 7] if tagged else [5, 5, 5, 5]
    c += chunk(b"PTAG", b"COLR" + b"".join(vx(i) + u2(colours[i]) for i in range(4)))
    if tagged:
        c += chunk(b"PTAG", b"MFLG" + vx(2) + u2(8) + vx(3) + u2(9))
        c += chunk(b"PTAG", b"MTIP" + vx(2) + u2(2) + vx(3) + u2(2))
    c += chunk(b"SURF", s0("Skin") + s0("") + b"COLR" + u2(14) + vec(0.8, 0.6, 0.5) + vx(0)
               + b"DIFF" + u2(6) + struct.pack(">f", 1.0) + vx(0))
    return form(c)

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "arm.lwo"), "wb") as f:
    f.write(arm())
seeds = os.path.join(here, "..", "fuzz", "corpus", "object_file")
os.makedirs(seeds, exist_ok=True)
for name, data in [("arm", arm()), ("arm_bone_names", arm(b"BONE")), ("arm_tagged", arm(tagged=True)),
                   ("no_tags", form(chunk(b"LAYR", u2(0) + u2(0) + vec(0, 0, 0) + s0("L"))
                                    + chunk(b"PNTS", vec(0, 0, 0) + vec(0, 0, 1))
                                    + chunk(b"POLS", b"BONE" + u2(2) + vx(0) + vx(1)))),
                   ("lwob", form(chunk(b"PNTS", vec(0, 0, 0)), b"LWOB"))]:
    with open(os.path.join(seeds, name), "wb") as f:
        f.write(data)
