// The two-layer arm object spelled out chunk by chunk, before and after its
// muscles are tagged, for the reader's, the writer's and the tool's tests.
#pragma once

#include "tests/lwo2_bytes.h"

namespace arm_object_bytes {

using namespace lwo2_bytes;

// An arm in two layers: a body face in layer 1; in layer 2 a face, then three
// skelegons in a POLS BONE chunk after it, named by PART twice and by BONE
// once, all with a DkBlu sketch colour. With `tagged`, the bytes expected
// after Upper becomes a muscle aiming at Fore (flags 3) and Hand one with
// flags 0, both DkRed.
inline std::string armObject(bool tagged) {
    return form(cat({
        // TAGS: 0 "Default" and 1 "Upper" are even with their 0 byte; 2 "Fore",
        // 4 "Hand" and 5 "Skin" are odd and padded; 3 "DkBlu" is even.
        chunk("TAGS", cat({s0("Default"), s0("Upper"), s0("Fore"), s0("DkBlu"), s0("Hand"), s0("Skin"),
                           tagged ? s0("DkRed") + s0("3") + s0("0") : ""})),
        // LAYR: number 0, flags 0, pivot at the origin, name "Body" (padded), no parent.
        chunk("LAYR", cat({u2(0), u2(0), vec(0, 0, 0), s0("Body")})),
        // PNTS: the body's four corners.
        chunk("PNTS", cat({vec(-1, 0, 0), vec(1, 0, 0), vec(1, 1, 0), vec(-1, 1, 0)})),
        // POLS FACE: one quad.
        chunk("POLS", cat({"FACE", u2(4), vx(0), vx(1), vx(2), vx(3)})),
        // PTAG SURF: the quad has surface 5 "Skin".
        chunk("PTAG", cat({"SURF", vx(0), u2(5)})),
        // LAYR: number 1, hidden, pivot (1, 2, 3), name "Rig" (even), parent layer 0.
        chunk("LAYR", cat({u2(1), u2(1), vec(1, 2, 3), s0("Rig"), u2(0)})),
        // PNTS: four points up the y axis.
        chunk("PNTS", cat({vec(0, 0, 0), vec(0, 1, 0), vec(0, 2, 0), vec(0, 3, 0)})),
        // POLS FACE: a triangle over the first three points.
        chunk("POLS", cat({"FACE", u2(3), vx(0), vx(1), vx(2)})),
        // PTAG SURF: the triangle has surface 0 "Default".
        chunk("PTAG", cat({"SURF", vx(0), u2(0)})),
        // POLS BONE: three skelegons chained tip to pivot.
        chunk("POLS", cat({"BONE", u2(2), vx(0), vx(1), u2(2), vx(1), vx(2), u2(2), vx(2), vx(3)})),
        // PTAG PART: skelegon 0 "Upper", skelegon 1 "Fore"; skelegon 2 has none.
        chunk("PTAG", cat({"PART", vx(0), u2(1), vx(1), u2(2)})),
        // PTAG BONE: skelegon 2 is named "Hand" only here.
        chunk("PTAG", cat({"BONE", vx(2), u2(4)})),
        // PTAG COLR: every skelegon DkBlu; tagged, the two muscles DkRed (6) in place.
        chunk("PTAG", cat({"COLR", vx(0), u2(tagged ? 6 : 3), vx(1), u2(3), vx(2), u2(tagged ? 6 : 3)})),
        // Tagged: a new PTAG MFLG (Upper "3", Hand "0") and PTAG MTIP (Upper "Fore").
        tagged ? chunk("PTAG", cat({"MFLG", vx(0), u2(7), vx(2), u2(8)})) : "",
        tagged ? chunk("PTAG", cat({"MTIP", vx(0), u2(2)})) : "",
        // SURF "Skin": a colour sub-chunk with a U2 length; the reader only keeps it.
        chunk("SURF", cat({s0("Skin"), s0(""), "COLR", u2(14), vec(1, 0.5f, 0.25f), vx(0)})),
        // XTRA: a chunk no reader knows, three bytes long, so padded.
        chunk("XTRA", "abc"),
    }));
}

}  // namespace arm_object_bytes
