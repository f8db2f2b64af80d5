// The host reads these records at fixed offsets; on 32-bit and 64-bit Windows
// they must match its own declarations byte for byte. The 64-bit layout is also
// the one of the native 64-bit Linux build, which the tests and tools load.
#include "abi/lw_host.h"

#if defined(_WIN32) && !defined(_WIN64)
static_assert(offsetof(LWItemInfo, param) == 36);
static_assert(offsetof(LWInterfaceInfo, selItems) == 8);
static_assert(offsetof(LWItemMotionAccess, time) == 8);
static_assert(offsetof(LWItemMotionAccess, setParam) == 20);
static_assert(offsetof(LWLayoutGeneric, evaluate) == 20);
static_assert(offsetof(LWModCommand, editBegin) == 16);
static_assert(offsetof(MeshEditOp, polyScan) == 24);
static_assert(offsetof(MeshEditOp, polTag) == 88);
static_assert(offsetof(MeshEditOp, polyTag) == 116);
static_assert(offsetof(EDPolygonInfo, flags) == 12);
static_assert(offsetof(EDPolygonInfo, type) == 28);
static_assert(offsetof(LWMeshInfo, scanPolys) == 20);
static_assert(offsetof(LWMeshInfo, polTag) == 56);
static_assert(offsetof(LWObjectInfo, meshInfo) == 20);
static_assert(offsetof(LWBoneInfo, restLength) == 8);
static_assert(offsetof(LWSaveState, writeFP) == 36);
static_assert(offsetof(LWLoadState, readFP) == 36);
static_assert(offsetof(LWPanelFuncs, addControl) == 32);
static_assert(offsetof(LWItemMotionHandler, flags) == 12);
static_assert(offsetof(LWInstanceFuncs, descln) == 24);
static_assert(offsetof(LWInterface, command) == 12);
static_assert(offsetof(LWControl, priv_data) == 12);
static_assert(offsetof(ModuleDescriptor, serverDefs) == 20);
static_assert(sizeof(ServerRecord) == 16);
static_assert(sizeof(LWValue) == 40);
static_assert(sizeof(LWPanControlDesc) == 28);
#elif defined(_WIN64) || defined(__LP64__)
static_assert(offsetof(LWItemInfo, param) == 72);
static_assert(offsetof(LWInterfaceInfo, selItems) == 8);
static_assert(offsetof(LWItemMotionAccess, time) == 16);
static_assert(offsetof(LWItemMotionAccess, setParam) == 32);
static_assert(offsetof(LWLayoutGeneric, evaluate) == 40);
static_assert(offsetof(LWModCommand, editBegin) == 32);
static_assert(offsetof(MeshEditOp, polyScan) == 48);
static_assert(offsetof(MeshEditOp, polTag) == 176);
static_assert(offsetof(MeshEditOp, polyTag) == 232);
static_assert(offsetof(EDPolygonInfo, flags) == 20);
static_assert(offsetof(EDPolygonInfo, type) == 48);
static_assert(offsetof(LWMeshInfo, scanPolys) == 40);
static_assert(offsetof(LWMeshInfo, polTag) == 112);
static_assert(offsetof(LWObjectInfo, meshInfo) == 40);
static_assert(offsetof(LWBoneInfo, restLength) == 16);
static_assert(offsetof(LWSaveState, writeFP) == 72);
static_assert(offsetof(LWLoadState, readFP) == 72);
static_assert(offsetof(LWPanelFuncs, addControl) == 64);
static_assert(offsetof(LWItemMotionHandler, flags) == 24);
static_assert(offsetof(LWInstanceFuncs, descln) == 48);
static_assert(offsetof(LWInterface, command) == 24);
static_assert(offsetof(LWControl, priv_data) == 24);
static_assert(offsetof(ModuleDescriptor, serverDefs) == 32);
static_assert(sizeof(ServerRecord) == 32);
static_assert(sizeof(LWValue) == 40);
static_assert(sizeof(LWPanControlDesc) == 48);
#endif
