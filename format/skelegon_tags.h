// The tags that make a skelegon a muscle: SetMuscle writes them in Modeler,
// ReadMuscle reads them back from the bone's object in Layout, and object
// files keep them as polygon tags of the skelegon.
#pragma once

#include "abi/lw_host.h"

namespace sinewrig {

// A skelegon is a polygon of this type, named by its PART tag.
inline constexpr LWID kSkelegonType = LWPOLTYPE_BONE;
inline constexpr LWID kPartTag = LWPTAG_PART;

inline constexpr LWID kColourTag = LWID_('C', 'O', 'L', 'R');  // an item colour's name (item_colours.h)
inline constexpr LWID kTipTag = LWID_('M', 'T', 'I', 'P');     // the reference skelegon's PART text
inline constexpr LWID kFlagsTag = LWID_('M', 'F', 'L', 'G');   // the flag bits as decimal text (muscle_flags_text.h)

// The colour SetMuscle gives every muscle it tags.
inline constexpr const char* kMuscleColour = "DkRed";

// The bits of MFLG; a skelegon that carries MFLG at all is a muscle.
inline constexpr int kPreserveVolumeFlag = 1;
inline constexpr int kAfterIKFlag = 2;

inline constexpr int muscleFlags(bool preserveVolume, bool afterIK) {
    return (preserveVolume ? kPreserveVolumeFlag : 0) | (afterIK ? kAfterIKFlag : 0);
}
// The bits are taken from the two's complement value, as the tag's writer meant them.
inline constexpr bool preservesVolume(int flags) { return (static_cast<unsigned int>(flags) & kPreserveVolumeFlag) != 0; }
inline constexpr bool runsAfterIK(int flags) { return (static_cast<unsigned int>(flags) & kAfterIKFlag) != 0; }

}  // namespace sinewrig
