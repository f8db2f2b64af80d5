/*
 * Host plug-in interface: the records the module exchanges with Layout and
 * Modeler, declared member for member in the host's order. Records the host
 * owns are declared down to the last member the module touches; records the
 * module fills, and the two unions it hands to the host, are declared whole.
 */
#ifndef SINEWRIG_MODULE_LW_HOST_H
#define SINEWRIG_MODULE_LW_HOST_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Basic types ------------------------------------------------------ */

typedef void *LWItemID;          /* 0 = none */
typedef void *LWPolID;           /* 0 = none */
typedef void *LWPntID;           /* 0 = none */
typedef void *EDStateRef;        /* opaque mesh-edit state */
typedef void *LWControlID;
typedef void *LWPanelID;
typedef void *LWInstance;
typedef int LWItemType;
typedef int LWItemParam;
typedef int LWFrame;
typedef int LWCommandCode;
typedef int EltOpLayer;
typedef int EltOpSelect;
typedef int EDError;
typedef int LWType;
typedef double LWTime;
typedef double LWDVector[3];
typedef unsigned int LWID;       /* four ASCII characters, first in the top byte */
typedef const char *LWError;     /* null = no error */

typedef struct st_LWMeshInfo LWMeshInfo;
typedef LWMeshInfo *LWMeshInfoID;

typedef void *GlobalFunc(const char *serviceName, int useMode);
typedef int ActivateFunc(int version, GlobalFunc *global, void *local, void *serverData);

#define LWID_(a, b, c, d) \
    ((((unsigned int)(a)) << 24) | (((unsigned int)(b)) << 16) | (((unsigned int)(c)) << 8) | ((unsigned int)(d)))

/* ---- Constants -------------------------------------------------------- */

#define GFUSE_TRANSIENT 0

#define AFUNC_OK 0
#define AFUNC_BADVERSION 1
#define AFUNC_BADGLOBAL 2

#define LWI_OBJECT 0
#define LWI_LIGHT 1
#define LWI_CAMERA 2
#define LWI_BONE 3

#define LWIP_POSITION 1
#define LWIP_ROTATION 5
#define LWIP_SCALING 6

#define LWIMF_AFTERIK 1

#define OPLYR_PRIMARY 0
#define OPSEL_USER 1
#define EDDF_SELECT 1
#define EDERR_NONE 0

#define LWT_INTEGER 2
#define LWT_FLOAT 3
#define LWT_BOOLEAN 8
#define LWT_CHOICE 9
#define LWT_LWITEM 16
#define LWT_MLIST 22

#define CTL_VALUE 4
#define CTL_MOUSEX 10
#define CTL_USEREVENT 14
#define CTL_USERDATA 16

#define DR_REFRESH 3

#define PANF_BLOCKING 1
#define PANF_CANCEL 2
#define PANF_FRAME 4

#define LWPOLTYPE_BONE LWID_('B', 'O', 'N', 'E')
#define LWPTAG_PART LWID_('P', 'A', 'R', 'T')

/* ---- Module file ------------------------------------------------------ */

typedef struct st_ServerTagInfo {
    const char *string;
    unsigned int tag;
} ServerTagInfo;

typedef struct st_ServerRecord {
    const char *className;
    const char *name;
    ActivateFunc *activate;
    ServerTagInfo *tagInfo; /* null in every row here */
} ServerRecord;

typedef struct st_ModuleDescriptor {
    unsigned int sysSync;    /* 0x04121994 */
    unsigned int sysVersion; /* module system version, 3 */
    unsigned int sysMachine; /* 0x300 */
    void *(*startup)(void);
    void (*shutdown)(void *serverData);
    ServerRecord *serverDefs; /* ended by an all-zero row */
} ModuleDescriptor;

/* ---- Layout services -------------------------------------------------- */

/* "Global Memory": named blocks that live as long as the host process. */
typedef struct st_LWGlobalPool {
    void *(*first)(void);
    void *(*next)(void *chunk);
    const char *(*ID)(void *chunk);
    int (*size)(void *chunk);
    void *(*find)(const char *id);             /* null when absent */
    void *(*create)(const char *id, int size); /* the block's memory */
} LWGlobalPool;

/* "LW Item Info 3" */
typedef struct st_LWItemInfo {
    LWItemID (*first)(LWItemType type, LWItemID parent);
    LWItemID (*next)(LWItemID item);
    LWItemID (*firstChild)(LWItemID parent);
    LWItemID (*nextChild)(LWItemID parent, LWItemID prevChild);
    LWItemID (*parent)(LWItemID item); /* 0 at the top of the chain */
    LWItemID (*target)(LWItemID item);
    LWItemID (*goal)(LWItemID item);
    LWItemType (*type)(LWItemID item);
    const char *(*name)(LWItemID item); /* may be null */
    /* value relative to the parent at a time */
    void (*param)(LWItemID item, LWItemParam param, LWTime time, LWDVector vector);
} LWItemInfo;

/* "LW Bone Info 3" */
typedef struct st_LWBoneInfo {
    unsigned int (*flags)(LWItemID bone);
    void (*restParam)(LWItemID bone, LWItemParam param, LWDVector vector);
    double (*restLength)(LWItemID bone);
} LWBoneInfo;

typedef size_t LWPntScanFunc(void *data, LWPntID point);
typedef size_t LWPolScanFunc(void *data, LWPolID polygon); /* non-zero stops the scan */

/* Mesh view returned by LWObjectInfo.meshInfo */
struct st_LWMeshInfo {
    void *priv;
    void (*destroy)(LWMeshInfoID mesh); /* frees a view the caller obtained */
    int (*numPoints)(LWMeshInfoID mesh);
    int (*numPolygons)(LWMeshInfoID mesh);
    size_t (*scanPoints)(LWMeshInfoID mesh, LWPntScanFunc *func, void *data);
    size_t (*scanPolys)(LWMeshInfoID mesh, LWPolScanFunc *func, void *data);
    void (*pntBasePos)(LWMeshInfoID mesh, LWPntID point, float pos[3]);
    void (*pntOtherPos)(LWMeshInfoID mesh, LWPntID point, float pos[3]);
    void *(*pntVLookup)(LWMeshInfoID mesh, LWID type, const char *name);
    int (*pntVSelect)(LWMeshInfoID mesh, void *vmap);
    int (*pntVGet)(LWMeshInfoID mesh, LWPntID point, float *vector);
    LWID (*polType)(LWMeshInfoID mesh, LWPolID polygon);
    int (*polSize)(LWMeshInfoID mesh, LWPolID polygon);
    LWPntID (*polVertex)(LWMeshInfoID mesh, LWPolID polygon, int vertex);
    const char *(*polTag)(LWMeshInfoID mesh, LWPolID polygon, LWID tagType); /* null when missing */
};

/* "LW Object Info 6" */
typedef struct st_LWObjectInfo {
    const char *(*filename)(LWItemID object);
    int (*numPoints)(LWItemID object);
    int (*numPolygons)(LWItemID object);
    unsigned int (*shadowOpts)(LWItemID object);
    double (*dissolve)(LWItemID object, LWTime time);
    LWMeshInfoID (*meshInfo)(LWItemID object, int frozen);
} LWObjectInfo;

/* "LW Interface Info 5" */
typedef struct st_LWInterfaceInfo {
    LWTime curTime;
    const LWItemID *selItems; /* zero-terminated */
} LWInterfaceInfo;

/* "Info Messages 2" */
typedef struct st_LWMessageFuncs {
    void (*info)(const char *line1, const char *line2);
    void (*error)(const char *line1, const char *line2);
} LWMessageFuncs;

/* Local record of "LayoutGeneric", version 2 */
typedef struct st_LWLayoutGeneric {
    int (*saveScene)(const char *file);
    int (*loadScene)(const char *file, const char *name);
    void *data; /* first argument of lookup, execute and evaluate */
    LWCommandCode (*lookup)(void *data, const char *cmdName);
    int (*execute)(void *data, LWCommandCode cmd, int argc, const void *argv, void *result);
    int (*evaluate)(void *data, const char *command); /* runs one Layout command */
} LWLayoutGeneric;

/* ---- Scene save and load ---------------------------------------------- */

/* ioMode of the save and load states: binary (object files) or text (scene files) */
#define LWIO_OBJECT 0
#define LWIO_SCENE 1

typedef struct st_LWSaveState {
    int ioMode;
    void *writeData; /* first argument of every write */
    void (*write)(void *data, const char *buf, int len);
    void (*writeI1)(void *data, const char *values, int n);
    void (*writeI2)(void *data, const short *values, int n);
    void (*writeI4)(void *data, const int *values, int n);
    void (*writeU1)(void *data, const unsigned char *values, int n);
    void (*writeU2)(void *data, const unsigned short *values, int n);
    void (*writeU4)(void *data, const unsigned int *values, int n);
    void (*writeFP)(void *data, const float *values, int n);
} LWSaveState;

/* Each read returns the number of values read, or less (-1 at the end). */
typedef struct st_LWLoadState {
    int ioMode;
    void *readData; /* first argument of every read */
    int (*read)(void *data, char *buf, int len);
    int (*readI1)(void *data, char *values, int n);
    int (*readI2)(void *data, short *values, int n);
    int (*readI4)(void *data, int *values, int n);
    int (*readU1)(void *data, unsigned char *values, int n);
    int (*readU2)(void *data, unsigned short *values, int n);
    int (*readU4)(void *data, unsigned int *values, int n);
    int (*readFP)(void *data, float *values, int n);
} LWLoadState;

/* ---- Motion handler --------------------------------------------------- */

typedef struct st_LWInstanceFuncs {
    void *priv; /* the host's, left as it is */
    LWInstance (*create)(void *priv, void *context, LWError *error);
    void (*destroy)(LWInstance instance);
    LWError (*copy)(LWInstance to, LWInstance from);
    LWError (*load)(LWInstance instance, const LWLoadState *state);
    LWError (*save)(LWInstance instance, const LWSaveState *state);
    const char *(*descln)(LWInstance instance);
} LWInstanceFuncs;

typedef struct st_LWItemFuncs {
    const LWItemID *(*useItems)(LWInstance instance);             /* zero-terminated */
    void (*changeID)(LWInstance instance, const LWItemID *idList); /* old/new pairs, ended by old 0 */
} LWItemFuncs;

typedef struct st_LWItemMotionAccess {
    LWItemID item;
    LWFrame frame;
    LWTime time;
    void (*getParam)(LWItemParam param, LWTime time, LWDVector vector);
    void (*setParam)(LWItemParam param, const LWDVector vector); /* replaces it for this evaluation */
} LWItemMotionAccess;

/* Local record of "ItemMotionHandler", version 4 */
typedef struct st_LWItemMotionHandler {
    LWInstanceFuncs *inst;
    LWItemFuncs *item;
    void (*evaluate)(LWInstance instance, const LWItemMotionAccess *access);
    unsigned int (*flags)(LWInstance instance);
} LWItemMotionHandler;

/* Local record of "ItemMotionInterface", version 4 */
typedef struct st_LWInterface {
    LWInstance inst; /* the host's */
    void *panel;     /* an xpanel; null here */
    LWError (*options)(LWInstance instance);
    LWError (*command)(LWInstance instance, const char *command);
} LWInterface;

/* ---- Modeler command -------------------------------------------------- */

typedef struct st_EDPolygonInfo {
    LWPolID pol;
    void *userData;
    int layer;
    int flags; /* EDDF_SELECT */
    int numPnts;
    const LWPntID *points;
    const char *surface;
    unsigned int type; /* an LWID such as LWPOLTYPE_BONE */
    int typeFlags;
} EDPolygonInfo;

typedef EDError EDPolyScanFunc(void *data, const EDPolygonInfo *polygon);
typedef EDError EDPointScanFunc(void *data, const void *point);

/* Members the module never calls are declared only to keep the layout. */
typedef void EDUnusedFunc(void);

typedef struct st_MeshEditOp {
    EDStateRef state; /* first argument of every call */
    int layerNum;
    void (*done)(EDStateRef state, EDError error, int selm);
    int (*pointCount)(EDStateRef state, EltOpLayer layer, int mode);
    int (*polyCount)(EDStateRef state, EltOpLayer layer, int mode);
    EDError (*pointScan)(EDStateRef state, EDPointScanFunc *func, void *data, EltOpLayer layer);
    EDError (*polyScan)(EDStateRef state, EDPolyScanFunc *func, void *data, EltOpLayer layer);
    EDUnusedFunc *pointInfo;
    EDUnusedFunc *polyInfo;
    EDUnusedFunc *polyNormal;
    EDUnusedFunc *addPoint;
    EDUnusedFunc *addFace;
    EDUnusedFunc *addCurve;
    EDUnusedFunc *addQuad;
    EDUnusedFunc *addTri;
    EDUnusedFunc *addPatch;
    EDUnusedFunc *remPoint;
    EDUnusedFunc *remPoly;
    EDUnusedFunc *pntMove;
    EDUnusedFunc *polSurf;
    EDUnusedFunc *polPnts;
    EDUnusedFunc *polFlag;
    EDError (*polTag)(EDStateRef state, LWPolID polygon, LWID tagType, const char *text);
    EDUnusedFunc *pntVMap;
    EDUnusedFunc *addPoly;
    EDUnusedFunc *addIPnt;
    EDUnusedFunc *initUV;
    EDUnusedFunc *pointVSet;
    EDUnusedFunc *pointVGet;
    const char *(*polyTag)(EDStateRef state, LWPolID polygon, LWID tagType); /* null when missing */
} MeshEditOp;

/* Local record of "CommandSequence", version 3 */
typedef struct st_LWModCommand {
    void *data;
    const char *argument;
    LWCommandCode (*lookup)(void *data, const char *cmdName);
    int (*execute)(void *data, LWCommandCode cmd, int argc, const void *argv, EltOpSelect sel, void *result);
    MeshEditOp *(*editBegin)(int pntBuf, int polBuf, EltOpSelect sel); /* null when it cannot begin */
} LWModCommand;

/* ---- Panels ("LWPanelServices") --------------------------------------- */

typedef union un_LWValue {
    int type;
    struct { int type; char *buf; int bufLen; } str;
    struct { int type; int value; int defVal; } intv; /* check boxes, item IDs, indices, CTL_MOUSEX */
    struct { int type; double value; double defVal; } flt;
    struct { int type; int val[3]; int defVal; } ivec;
    struct { int type; double val[3]; double defVal; } fvec;
    struct { int type; void *ptr; } ptr; /* CTL_USERDATA, CTL_USEREVENT */
    struct { int type; int val[4]; } cust;
} LWValue;

typedef union un_LWPanControlDesc {
    int type;
    struct { int type; int width; } string;
    struct { int type; const char **items; int vertical; } choice; /* items end with null */
    struct { int type; const char **text; } text;
    struct { int type; int width, min, max; } range;
    struct { int type; int width, height; } area;
    struct { int type; void *global; int itemType; char **list; int count; int width; } lwitem;
    struct { int type; int width; int (*countFn)(void *data); char *(*nameFn)(void *data, int index); } popup;
    struct {
        int type;
        int width;
        int visItems;
        int top;
        int (*countFn)(void *data);
        char *(*nameFn)(void *data, int index);
    } listbox;
    struct { int type; int width; int height; void *xpan; } xpanel;
    struct {
        int type;
        int width;
        int height;
        int (*countFn)(void *data, void *node);
        void *(*leafFn)(void *data, void *node, int index);
        char *(*infoFn)(void *data, void *node, int *flags);
        void (*moveFn)(void *data, void *node, void *parent, int index);
    } tree;
    struct {
        int type;
        int width;
        int visItems;
        int top;
        int (*countFn)(void *data);
        char *(*nameFn)(void *data, int row, int column); /* row -1 gives titles */
        int (*colWidth)(void *data, int column);          /* 0 ends the columns */
    } multiList;
} LWPanControlDesc;

/* The LWControlID passed to these is the LWControl itself. */
typedef struct st_LWControl {
    void (*draw)(LWControlID control, int drMode);
    void (*get)(LWControlID control, int cTag, LWValue *value);
    void (*set)(LWControlID control, int cTag, LWValue *value);
    void *priv_data;
} LWControl;

typedef void LWControlEventFunc(LWControlID control, void *userData);

typedef struct st_LWPanelFuncs {
    LWPanelID (*create)(char *title, void *data);
    void (*destroy)(LWPanelID panel);
    int (*open)(LWPanelID panel, int flags); /* blocks; non-zero means OK */
    int (*handle)(LWPanelID panel, int mode);
    void (*draw)(LWPanelID panel, int drMode);
    void (*close)(LWPanelID panel);
    void (*get)(LWPanelID panel, int tag, void *value);
    void (*set)(LWPanelID panel, int tag, void *value);
    LWControl *(*addControl)(LWPanelID panel, char *kind, LWPanControlDesc *desc, char *label);
} LWPanelFuncs;

#ifdef __cplusplus
}
#endif

#endif
