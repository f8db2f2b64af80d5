// The Japanese labels that the assignment list and the options panel share.
#pragma once

namespace sinewrig {

inline constexpr const char* kReferenceLabel = "\x8e\x51\x8f\xc6";                                /* 参照 */
inline constexpr const char* kPreserveVolumeLabel = "\x91\xcc\x90\xcf\x82\xf0\x95\xdb\x8e\x9d";  /* 体積を保持 */

}  // namespace sinewrig
