/*
 * Host plug-in interface: the records the module exchanges with Layout and
 * Modeler, declared member for member in the host's order. Records the host
 * owns are declared down to the last member the module touches; records the
 * module fills, and the two unions it hands to the host, are declared whole.
 *
 * Memory across the boundary: each side frees only what it allocated. What is
 * passed into a call is read (or written) during that call only, unless its
 * line says the callee keeps it; what a call hands out stays its giver's, and
 * its line says how long it is valid.
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
typedef const char *LWError;     /* null = no error; the module's error texts are literals */

typedef struct st_LWMeshInfo LWMeshInfo;
typedef LWMeshInfo *LWMeshInfoID;

/* The host's service record, null when missing. The module keeps this function
   and the records it gives for as long as the module is loaded. */
typedef void *GlobalFunc(const char *serviceName, int useMode);
/* `local` is the host's record of the class, read or filled during the call only. */
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

/* The descriptor, its server rows and their texts are the module's static data,
   which the host reads for as long as the file is loaded. */
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
    void *(*startup)(void); /* the module's value, handed back to shutdown */
    void (*shutdown)(void *serverData);
    ServerRecord *serverDefs; /* ended by an all-zero row */
} ModuleDescriptor;

/* ---- Layout services -------------------------------------------------- */

/* "Global Memory": named blocks of the host's that live as long as the host
   process and are never freed; the module works on them in place. */
typedef struct st_LWGlobalPool {
    void *(*first)(void);
    void *(*next)(void *chunk);
    const char *(*ID)(void *chunk);
    int (*size)(void *chunk);
    void *(*find)(const char *id);             /* the block, null when absent */
    void *(*create)(const char *id, int size); /* the new block; id a literal of the module's */
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
    /* The host's text, or null; valid until the item is renamed or removed. */
    const char *(*name)(LWItemID item);
    /* Fills the caller's vector: the value relative to the parent at a time. */
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

/* Mesh view returned by LWObjectInfo.meshInfo: the host's, until the caller destroys it */
struct st_LWMeshInfo {
    void *priv;
    void (*destroy)(LWMeshInfoID mesh); /* frees the view; nothing it gave out is used after */
    int (*numPoints)(LWMeshInfoID mesh);
    int (*numPolygons)(LWMeshInfoID mesh);
    size_t (*scanPoints)(LWMeshInfoID mesh, LWPntScanFunc *func, void *data);
    size_t (*scanPolys)(LWMeshInfoID mesh, LWPolScanFunc *func, void *data); /* calls func within the call */
    void (*pntBasePos)(LWMeshInfoID mesh, LWPntID point, float pos[3]);
    void (*pntOtherPos)(LWMeshInfoID mesh, LWPntID point, float pos[3]);
    void *(*pntVLookup)(LWMeshInfoID mesh, LWID type, const char *name);
    int (*pntVSelect)(LWMeshInfoID mesh, void *vmap);
    int (*pntVGet)(LWMeshInfoID mesh, LWPntID point, float *vector);
    LWID (*polType)(LWMeshInfoID mesh, LWPolID polygon);
    int (*polSize)(LWMeshInfoID mesh, LWPolID polygon);
    LWPntID (*polVertex)(LWMeshInfoID mesh, LWPolID polygon, int vertex);
    /* The view's text, null when missing; valid only until the next call on the
       view, so the module copies it. */
    const char *(*polTag)(LWMeshInfoID mesh, LWPolID polygon, LWID tagType);
};

/* "LW Object Info 6" */
typedef struct st_LWObjectInfo {
    const char *(*filename)(LWItemID object);
    int (*numPoints)(LWItemID object);
    int (*numPolygons)(LWItemID object);
    unsigned int (*shadowOpts)(LWItemID object);
    double (*dissolve)(LWItemID object, LWTime time);
    LWMeshInfoID (*meshInfo)(LWItemID object, int frozen); /* a new view or null; the caller destroys it */
} LWObjectInfo;

/* "LW Interface Info 5" */
typedef struct st_LWInterfaceInfo {
    LWTime curTime;
    const LWItemID *selItems; /* the host's, zero-terminated; valid until the selection changes */
} LWInterfaceInfo;

/* "Info Messages 2" */
typedef struct st_LWMessageFuncs {
    void (*info)(const char *line1, const char *line2);
    void (*error)(const char *line1, const char *line2); /* lines read during the call; line2 may be null */
} LWMessageFuncs;

/* Local record of "LayoutGeneric", version 2 */
typedef struct st_LWLayoutGeneric {
    int (*saveScene)(const char *file);
    int (*loadScene)(const char *file, const char *name);
    void *data; /* first argument of lookup, execute and evaluate */
    LWCommandCode (*lookup)(void *data, const char *cmdName);
    int (*execute)(void *data, LWCommandCode cmd, int argc, const void *argv, void *result);
    int (*evaluate)(void *data, const char *command); /* runs one Layout command; text read during the call */
} LWLayoutGeneric;

/* ---- Scene save and load ---------------------------------------------- */

/* ioMode of the save and load states: binary (object files) or text (scene files) */
#define LWIO_OBJECT 0
#define LWIO_SCENE 1

/* The host's, valid during one save call; each write reads the caller's n
   values during the call only. */
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

/* The host's, valid during one load call; each read fills the caller's n values
   during the call and returns the number read, or less (-1 at the end). */
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

/* An instance is the module's, from create to destroy; the host only passes it back. */
typedef struct st_LWInstanceFuncs {
    void *priv; /* the host's, left as it is */
    LWInstance (*create)(void *priv, void *context, LWError *error);
    void (*destroy)(LWInstance instance); /* frees it; nothing it gave out is used after */
    LWError (*copy)(LWInstance to, LWInstance from);
    LWError (*load)(LWInstance instance, const LWLoadState *state); /* state read during the call */
    LWError (*save)(LWInstance instance, const LWSaveState *state); /* state written during the call */
    /* The instance's own buffer, valid until its next descln or load, or a copy into it. */
    const char *(*descln)(LWInstance instance);
} LWInstanceFuncs;

typedef struct st_LWItemFuncs {
    /* The record's own list, zero-terminated, not a copy; valid while the instance lives. */
    const LWItemID *(*useItems)(LWInstance instance);
    /* The host's old/new pairs, ended by old 0, read during the call. */
    void (*changeID)(LWInstance instance, const LWItemID *idList);
} LWItemFuncs;

/* The host's, valid during one evaluate call. */
typedef struct st_LWItemMotionAccess {
    LWItemID item;
    LWFrame frame;
    LWTime time;
    void (*getParam)(LWItemParam param, LWTime time, LWDVector vector); /* fills the caller's vector */
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
    LWError (*command)(LWInstance instance, const char *command); /* null here */
} LWInterface;

/* ---- Modeler command -------------------------------------------------- */

/* The host's, with its points and surface text, valid during one scan callback. */
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

/* The host's, from editBegin until done. */
typedef struct st_MeshEditOp {
    EDStateRef state; /* first argument of every call */
    int layerNum;
    void (*done)(EDStateRef state, EDError error, int selm); /* commits; nothing of the edit is used after */
    int (*pointCount)(EDStateRef state, EltOpLayer layer, int mode);
    int (*polyCount)(EDStateRef state, EltOpLayer layer, int mode);
    EDError (*pointScan)(EDStateRef state, EDPointScanFunc *func, void *data, EltOpLayer layer);
    EDError (*polyScan)(EDStateRef state, EDPolyScanFunc *func, void *data, EltOpLayer layer); /* within the call */
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
    /* The host copies the text during the call: the module may pass its own stack buffer. */
    EDError (*polTag)(EDStateRef state, LWPolID polygon, LWID tagType, const char *text);
    EDUnusedFunc *pntVMap;
    EDUnusedFunc *addPoly;
    EDUnusedFunc *addIPnt;
    EDUnusedFunc *initUV;
    EDUnusedFunc *pointVSet;
    EDUnusedFunc *pointVGet;
    /* The host's text, null when missing; valid until the next polTag or done. */
    const char *(*polyTag)(EDStateRef state, LWPolID polygon, LWID tagType);
} MeshEditOp;

/* Local record of "CommandSequence", version 3 */
typedef struct st_LWModCommand {
    void *data;
    const char *argument; /* the host's, valid during the activation */
    LWCommandCode (*lookup)(void *data, const char *cmdName);
    int (*execute)(void *data, LWCommandCode cmd, int argc, const void *argv, EltOpSelect sel, void *result);
    MeshEditOp *(*editBegin)(int pntBuf, int polBuf, EltOpSelect sel); /* the host's until done; null if refused */
} LWModCommand;

/* ---- Panels ("LWPanelServices") --------------------------------------- */

/* The caller's, read or written by a control's get or set during the call only. */
typedef union un_LWValue {
    int type;
    struct { int type; char *buf; int bufLen; } str; /* the caller's buffer of bufLen bytes */
    struct { int type; int value; int defVal; } intv; /* check boxes, item IDs, indices, CTL_MOUSEX */
    struct { int type; double value; double defVal; } flt;
    struct { int type; int val[3]; int defVal; } ivec;
    struct { int type; double val[3]; double defVal; } fvec;
    struct { int type; void *ptr; } ptr; /* CTL_USERDATA, CTL_USEREVENT: the host keeps the pointer */
    struct { int type; int val[4]; } cust;
} LWValue;

/* The module's, read during addControl only (the module reuses it for the next
   control); the arrays and texts it points to live as long as the panel. */
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
        char *(*nameFn)(void *data, int row, int column); /* row -1 gives titles; the host reads it at once */
        int (*colWidth)(void *data, int column);          /* 0 ends the columns */
    } multiList;
} LWPanControlDesc;

/* The host's, until its panel is destroyed. The LWControlID passed to these is
   the LWControl itself. */
typedef struct st_LWControl {
    void (*draw)(LWControlID control, int drMode);
    void (*get)(LWControlID control, int cTag, LWValue *value);
    void (*set)(LWControlID control, int cTag, LWValue *value);
    void *priv_data;
} LWControl;

typedef void LWControlEventFunc(LWControlID control, void *userData); /* userData: as set with CTL_USERDATA */

typedef struct st_LWPanelFuncs {
    /* Null if refused. The module's titles are literals, so it relies on no copy. */
    LWPanelID (*create)(char *title, void *data);
    void (*destroy)(LWPanelID panel); /* frees the panel and its controls */
    int (*open)(LWPanelID panel, int flags); /* blocks; non-zero means OK */
    int (*handle)(LWPanelID panel, int mode);
    void (*draw)(LWPanelID panel, int drMode);
    void (*close)(LWPanelID panel);
    void (*get)(LWPanelID panel, int tag, void *value);
    void (*set)(LWPanelID panel, int tag, void *value);
    /* The host's control, until destroy; kind and label are literals of the module's. */
    LWControl *(*addControl)(LWPanelID panel, char *kind, LWPanControlDesc *desc, char *label);
} LWPanelFuncs;

#ifdef __cplusplus
}
#endif

#endif
