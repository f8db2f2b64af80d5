// What the host checks of a module file before it calls anything in it: the
// one name the file exports, and the numbers its ModuleDescriptor carries.
#pragma once

inline constexpr const char* kModuleDescriptorName = "_mod_descrip";

inline constexpr unsigned int kModuleSyncWord = 0x04121994;
inline constexpr unsigned int kModuleSystemVersion = 3;
// The machine type the host expects of every module file, 64-bit ones included.
inline constexpr unsigned int kModuleMachineType = 0x300;
