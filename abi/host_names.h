// The names by which the module and the host find each other: the services the
// module looks up, the server classes it offers with the one interface version
// each accepts, its server names and its Global Memory block.
#pragma once

namespace sinewrig {

// Services, looked up with the global-lookup function.
inline constexpr const char* kGlobalMemoryService = "Global Memory";
inline constexpr const char* kItemInfoService = "LW Item Info 3";
inline constexpr const char* kBoneInfoService = "LW Bone Info 3";
inline constexpr const char* kObjectInfoService = "LW Object Info 6";
inline constexpr const char* kInterfaceInfoService = "LW Interface Info 5";
inline constexpr const char* kMessageService = "Info Messages 2";
inline constexpr const char* kPanelService = "LWPanelServices";

// Server classes and the interface version this module accepts for each.
inline constexpr const char* kCommandSequenceClass = "CommandSequence";
inline constexpr int kCommandSequenceVersion = 3;
inline constexpr const char* kLayoutGenericClass = "LayoutGeneric";
inline constexpr int kLayoutGenericVersion = 2;
inline constexpr const char* kItemMotionHandlerClass = "ItemMotionHandler";
inline constexpr int kItemMotionHandlerVersion = 4;
inline constexpr const char* kItemMotionInterfaceClass = "ItemMotionInterface";
inline constexpr int kItemMotionInterfaceVersion = 4;

// The module's servers. The motion handler and its options panel share a name.
inline constexpr const char* kSetMuscleServer = "SetMuscle";
inline constexpr const char* kReadMuscleServer = "ReadMuscle";
inline constexpr const char* kMuscleServer = "Sinewrig";

// The Global Memory block that holds the muscle registry's pointer.
inline constexpr const char* kRegistryBlockName = "Sinewrig";

}  // namespace sinewrig
