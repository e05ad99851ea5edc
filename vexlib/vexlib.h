// VexLib: the host CAD library as a plug-in sees it.
//
// This header is the only door between the Twinfind plug-in and the host. Every call has C
// linkage, every record is a standard-layout struct whose size and field offsets are fixed
// (the static_asserts at the end pin them), and every text is zero-terminated UTF-16.
//
// Conventions of the host:
//   - -1 means failure or the end of a list; a search answers 0 when it found something.
//   - Segments are named by id; a SegmentRef adds the id of the drawing that holds it (auxId).
//   - Id-list records come as {segmentId, auxId}; a SegmentRef is {auxId, segmentId}.
#ifndef VEXLIB_VEXLIB_H
#define VEXLIB_VEXLIB_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#include <uchar.h>
#include <type_traits>
#else
#include <uchar.h>
#endif

#if defined(_WIN32) && defined(VEXLIB_BUILDING)
#define VEXAPI __declspec(dllexport)
#elif defined(_WIN32)
#define VEXAPI __declspec(dllimport)
#elif defined(VEXLIB_BUILDING)
#define VEXAPI __attribute__((visibility("default")))
#else
#define VEXAPI
#endif

#ifdef __cplusplus
extern "C" {
#endif

// ---------------------------------------------------------------------------------------------
// Codes of the step protocol
// ---------------------------------------------------------------------------------------------

// Event codes handed to an execute callback.
enum {
  VEX_EVENT_INPUT = 0,  // input complete: a range selection or a point
  VEX_EVENT_KEYIN = 5,  // a typed text
  VEX_EVENT_END = 7     // the end button
};

// Results of an execute callback.
enum {
  VEX_STEP_DONE = 0,  // the command is finished
  VEX_STEP_NEXT = 2,  // run the ready function named last with VexCtlSetReadyFunc
  VEX_STEP_STAY = 3   // decline the event and keep the step
};

// Event masks of VexEvtSetEventMask.
enum {
  VEX_MASK_RANGE = 0x20,             // a window selection
  VEX_MASK_END = 0x40000,            // the end button alone
  VEX_MASK_POINT = 0x60000,          // a point (click, pointer motion, typed coordinates)
  VEX_MASK_BALLOON_POINT = 0x60800,  // a point, with existing balloons offered for picking
  VEX_MASK_KEYIN = 0x1000000         // a typed text
};

// Kinds of segment (VexSgmCreateSegment, VexSgmGetType) and their lifetimes.
enum { VEX_SEGMENT_FIGURES = 0, VEX_SEGMENT_COMMENTS = 2 };
enum { VEX_LIFE_LASTING = 0, VEX_LIFE_TEMPORARY = 2 };

// Figure kinds of FigureRecord.kind.
enum {
  VEX_FIG_LINE = 1,
  VEX_FIG_CIRCLE = 2,
  VEX_FIG_ARC = 3,
  VEX_FIG_KIND4 = 4,
  VEX_FIG_KIND5 = 5,
  VEX_FIG_POINT = 9
};

// Element type codes of VexElmGetType.
enum {
  VEX_ELEMENT_LINE = 1,
  VEX_ELEMENT_CIRCLE = 2,
  VEX_ELEMENT_ARC = 3,
  VEX_ELEMENT_KIND4 = 4,
  VEX_ELEMENT_KIND5 = 5,
  VEX_ELEMENT_POINT = 6,
  VEX_ELEMENT_TEXT = 33,
  VEX_ELEMENT_BALLOON = 36
};

// Direction codes of an arc (FigureArc.direction).
enum { VEX_ARC_CCW = 1, VEX_ARC_CW = 2 };

// The segment attribute that marks segments carried along but not counted.
enum { VEX_ATTRIBUTE_5 = 5 };

// ---------------------------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------------------------

typedef struct VexPoint {
  double x;
  double y;
} VexPoint;

// An axis-parallel rectangle in drawing units.
typedef struct VexBox {
  double minX;
  double minY;
  double maxX;
  double maxY;
} VexBox;

// The host's reference of one drawing segment (or, for VexFigGetFigure, of one element).
typedef struct SegmentRef {
  int32_t auxId;
  int32_t segmentId;
} SegmentRef;

// One record of a host id list.
typedef struct VexIdRecord {
  int32_t segmentId;
  int32_t auxId;
} VexIdRecord;

// The geometry of one figure; which member holds it depends on FigureRecord.kind.
typedef struct FigureLine {
  double x1, y1, x2, y2;
} FigureLine;

typedef struct FigureCircle {
  double cx, cy, r;
  uint8_t flag;
  uint8_t reserved[3];
  int32_t code;
  double value;
} FigureCircle;

typedef struct FigureArc {
  double cx, cy;
  double sx, sy;
  double ex, ey;
  double r;
  int32_t direction;  // VEX_ARC_CCW or VEX_ARC_CW; the arc runs from start to end
  int32_t reserved;
} FigureArc;

typedef struct FigureKind4 {
  double x1, y1, x2, y2;
  double value;
} FigureKind4;

typedef struct FigureKind5 {
  double x1, y1, x2, y2, x3, y3;
  double a, b, c;
  int32_t code;
  int32_t reserved;
} FigureKind5;

typedef struct FigurePoint {
  double x, y;
} FigurePoint;

// The host's 88-byte description of one figure.
typedef struct FigureRecord {
  int32_t kind;  // VEX_FIG_*
  int32_t padding;
  union {
    FigureLine line;
    FigureCircle circle;
    FigureArc arc;
    FigureKind4 kind4;
    FigureKind5 kind5;
    FigurePoint point;
    double raw[10];
  } u;
} FigureRecord;

// The 24-byte line attribute record of VexFigGetLineType2 / VexFigSetLineType2.
typedef struct LineAttr {
  int32_t color;   // host colour number 0..15
  int32_t weight;  // pen weight
  int32_t reserved1;
  int32_t reserved2;
  int32_t lineType;   // host line-type number 0..9
  int32_t attribute;  // a further attribute, passed through
} LineAttr;

// The short line attribute record of VexFigGetLineType / VexFigSetLineType.
typedef struct VexLineTypeData {
  int32_t color;
  int32_t lineType;
  int32_t weight;
} VexLineTypeData;

// One item of a hole record (240 bytes); the host owns it until VexHoleFreeHoleData.
typedef struct HoleItem {
  int32_t kind;         // 0
  int32_t layer;        // 4
  double diameter;      // 8
  uint8_t throughFlag;  // 16
  uint8_t reserved1[7];
  double depth;           // 24, meaningful only when throughFlag is 0
  uint8_t reserved2[16];  // 32
  int32_t standard;       // 48
  int32_t reserved3;      // 52
  int32_t threadKind;     // 56
  char16_t name[20];      // 60, zero-terminated
  int32_t count;          // 100
  double pitch;           // 104
  uint8_t reserved4[8];   // 112
  int32_t finish;         // 120
  int32_t tolerance;      // 124
  uint8_t reserved5[96];  // 128
  int32_t mode;           // 224
  int32_t modeValue;      // 228, compared only when mode is 2
  uint8_t reserved6[8];   // 232
} HoleItem;

// The hole record of one segment (96 bytes).
typedef struct HoleData {
  int32_t holeId;         // 0
  int32_t reserved1[6];   // 4
  int32_t variant;        // 28: comparable only when 0
  uint8_t reserved2[52];  // 32
  int32_t itemCount;      // 84
  HoleItem* items;        // 88
} HoleData;

// The balloon record of VexCmtCreateBalloon and VexCmtGetComment.
typedef struct BalloonData {
  int32_t reserved0;        // 0
  uint8_t leader;           // 4: 1 draws the leader from the anchor to the circle
  uint8_t reserved1[3];     // 5
  double anchorX;           // 8
  double anchorY;           // 16
  int32_t anchorElementId;  // 24: element the anchor lies on, 0 for none
  int32_t anchorAuxId;      // 28
  int32_t zero32;           // 32
  int32_t reserved2;        // 36
  double centerX;           // 40
  double centerY;           // 48
  double zero56;            // 56
  int32_t zero64;           // 64
  int32_t reserved3;        // 68
  int32_t rowCount;         // 72: 1 to 3
  int32_t reserved4;        // 76
  const char16_t* rows[3];  // 80, 88, 96
  double diameter;          // 104
} BalloonData;

// The plain text record of VexCmtCreateNormal.
typedef struct NormalTextData {
  int32_t type;          // 0: 33
  int32_t reserved0;     // 4
  double x;              // 8
  double y;              // 16
  int32_t zero24;        // 24
  int32_t zero28[2];     // 28
  int32_t reserved1;     // 36
  const char16_t* text;  // 40
  double zero48;         // 48
  int32_t zero56;        // 56
  int32_t three;         // 60: 3
  double size1;          // 64
  double size2;          // 72
  uint8_t zero80[16];    // 80
  uint8_t one;           // 96: 1
  uint8_t reserved2[3];  // 97
  int32_t ten;           // 100: 10
} NormalTextData;

// The character size record of VexCmtSetCharSize.
typedef struct CharSizeData {
  double size1;
  double size2;
  double zero;
} CharSizeData;

// What VexCmtGetComment writes: a balloon or a plain text, in a 288-byte buffer.
typedef union VexCommentBuffer {
  BalloonData balloon;
  NormalTextData text;
  unsigned char bytes[288];
} VexCommentBuffer;

// The echo of VexEvtSetEcho: the host draws a rubber band of the given kind from (x, y).
typedef struct VexEchoRecord {
  int32_t kind;
  int32_t reserved;
  double x;
  double y;
} VexEchoRecord;

// The object record of VexEvtSetObject: five 32-bit fields.
typedef struct VexObjectRecord {
  int32_t fields[5];
} VexObjectRecord;

// The data of one event, owned by the host, valid during the execute callback.
typedef struct VexEvent VexEvent;

// ---------------------------------------------------------------------------------------------
// Callbacks
// ---------------------------------------------------------------------------------------------

// Start, query and end callbacks of a command.
typedef int (*VexCommandFunc)(void);
// A step's ready function: called with the text it was named with and the pointer position.
typedef int (*VexReadyFunc)(const char16_t* text, double x, double y);
// A step's execute callback: called with an event code and the event's data.
typedef int (*VexExecuteFunc)(int code, const VexEvent* event);
// An element filter: non-zero accepts the element.
typedef int (*VexElementFilter)(int elementId);
// The entry point a plug-in module exports as "Startup"; the host calls it once after loading
// the module, with nothing the plug-in needs (null). 0: ready; -1: the plug-in is not usable.
typedef int (*VexStartupFunc)(void* reserved);

// ---------------------------------------------------------------------------------------------
// Control
// ---------------------------------------------------------------------------------------------

// Registers a command: start is called when the user starts it, query when another command
// wants to start while it runs (non-zero lets it run on), end when it ends. Result > 0: the
// command's number; 0 or less: not registered.
VEXAPI int VexCtlRegisterVexLib2(VexCommandFunc start, VexCommandFunc query, VexCommandFunc end);
// Sets the step's execute callback and its default input, built from a printf-style format
// (%f, %d, %s with a UTF-16 text, %%) and the values that follow. An empty format: no default.
VEXAPI int VexCtlSetExecuteFunc(VexExecuteFunc fn, const char16_t* format, ...);
// Names the ready function that result 2 runs next, and the text it is called with.
VEXAPI int VexCtlSetReadyFunc(VexReadyFunc fn, const char16_t* text);

// ---------------------------------------------------------------------------------------------
// Events
// ---------------------------------------------------------------------------------------------

// Chooses which inputs the step takes (VEX_MASK_*). The end button is offered at every step.
VEXAPI int VexEvtSetEventMask(uint32_t mask);
// Sets the element filter of the step's range selection.
VEXAPI int VexEvtSetCompareFunction(VexElementFilter fn);
// Sets the object record of the step's selection.
VEXAPI int VexEvtSetObject(const VexObjectRecord* object);
// Sets the echo (rubber band) the host draws while the pointer moves.
VEXAPI int VexEvtSetEcho(const VexEchoRecord* echo);
// Writes the event's point; 0 when the event carries one, -1 otherwise.
VEXAPI int VexEvtGetPoint(int code, const VexEvent* event, VexPoint* point);
// Non-zero when the event is a pointer motion rather than a click.
VEXAPI int VexEvtIsMouseMotion(int code, const VexEvent* event);
// The typed text of a key-in event; an empty text for other events.
VEXAPI const char16_t* VexEvtGetKeyinString(int code, const VexEvent* event);

// ---------------------------------------------------------------------------------------------
// Messages
// ---------------------------------------------------------------------------------------------

VEXAPI void VexMsgPutMessage(const char16_t* text);        // the prompt line
VEXAPI void VexMsgPutCursorMessage(const char16_t* text);  // the text beside the cursor
VEXAPI void VexMsgPutErrorMessage(const char16_t* text);   // the error line
VEXAPI void VexMsgPutInfoMessage(const char16_t* text);    // the info line
VEXAPI int VexDlgMessageBox(const char16_t* text);         // a modal box; returns 1 (OK)

// ---------------------------------------------------------------------------------------------
// Text-mode dialogs
//
// A host without a window system shows a plug-in's modal dialog as text lines and takes the
// user's actions on it as lines; the plug-in's headless dialog framework uses these two calls.
// ---------------------------------------------------------------------------------------------

// One line of a dialog shown as text.
VEXAPI void VexDlgShowText(const char16_t* text);
// Copies the user's next action on the open dialog ("click 12001", "text 12016 7.5", "ok", ...)
// into the buffer, zero-terminated and cut to fit, and returns its length; -1 when no action
// will come (the user's input has ended).
VEXAPI int VexDlgReadAction(char16_t* buffer, int capacity);

// ---------------------------------------------------------------------------------------------
// Id lists: the user's selection and the application lists 0..15
// ---------------------------------------------------------------------------------------------

// Opens the last selection for reading (mode 1); returns a handle, -1 on failure.
VEXAPI int VexIddOpenSelIdData(int mode);
// Read the first / next record of the open selection; -1 at the end.
VEXAPI int VexIddGetHeadSelIdData(int handle, VexIdRecord* record);
VEXAPI int VexIddGetNextSelIdData(int handle, VexIdRecord* record);
VEXAPI int VexIddCloseSelIdData(int handle);
// Forgets the user's selection.
VEXAPI int VexIddClearSysIdData(void);

// Opens application list n (mode 1: read and write); returns a handle, -1 on failure.
VEXAPI int VexIddOpenApIdData(int list, int mode);
VEXAPI int VexIddGetHeadApIdData(int handle, VexIdRecord* record);
VEXAPI int VexIddGetNextApIdData(int handle, VexIdRecord* record);
// Appends a record; -1 on failure (list not open for writing, unknown segment, list full).
VEXAPI int VexIddSetApIdData(int handle, int segmentId, int auxId);
// Empties the open list.
VEXAPI int VexIddInitApIdData(int handle);
VEXAPI int VexIddCloseApIdData(int handle);

// ---------------------------------------------------------------------------------------------
// Blinking
// ---------------------------------------------------------------------------------------------

VEXAPI int VexIdSetBlinkSegmentId(const SegmentRef* ref);
VEXAPI int VexIdClearBlink(void);

// ---------------------------------------------------------------------------------------------
// Segments and elements
// ---------------------------------------------------------------------------------------------

// Crossing search: every segment with an element the filter accepts whose geometry touches
// the area (no area: every such segment) replaces the contents of list n. 0 when found, else -1.
VEXAPI int VexSgmSearchSegment2(const VexBox* area, VexElementFilter filter, int list);
// Window search: as above, but only segments lying wholly inside the area.
VEXAPI int VexSgmSearchSegment4(const VexBox* area, VexElementFilter filter, int list);
// Non-zero when the segment carries the attribute.
VEXAPI int VexSgmHasAttribute(int segmentId, int attribute);
// A new empty segment of a kind (VEX_SEGMENT_*) and lifetime (VEX_LIFE_*); its id, or -1.
VEXAPI int VexSgmCreateSegment(int kind, int life);
// One copy of a segment, moved from base to target, turned by angle degrees about target and
// scaled; the copy's id, -1 on failure.
VEXAPI int VexSgmEditSegment(int segmentId, const VexPoint* base, const VexPoint* target,
                             double angleDegrees, double scale, int flag);
// Copies of every segment of a list, transformed as VexSgmEditSegment; the copies replace
// the contents of the destination list. 0, or -1 on failure.
VEXAPI int VexSgmEditSegment2(int list, const VexPoint* base, const VexPoint* target,
                              double angleDegrees, double scale, int flag, int destinationList);
// Mirrors the segments of a list across the line p1-p2. With move 1 the sources are replaced
// by their images; the images replace the contents of the destination list. 0, or -1.
VEXAPI int VexSgmMirrorSegment2(int list, const VexPoint* p1, const VexPoint* p2, int reserved,
                                int move, int destinationList);
// Delete a segment and its elements; -1 for an unknown segment.
VEXAPI int VexSgmDeleteSegment(int segmentId);
VEXAPI int VexSgmDeleteSegment2(int segmentId);
VEXAPI int VexSgmGetType(int segmentId);
VEXAPI int VexSgmGetLayer(int segmentId);
VEXAPI int VexSgmChangeLayer(int segmentId, int layer);
// The first element of a segment, the next element after one; -1 at the end.
VEXAPI int VexSgmGetHeadElementId(int segmentId);
VEXAPI int VexElmGetNextElementId(int elementId);
// The element's type code (VEX_ELEMENT_*), -1 for an unknown element.
VEXAPI int VexElmGetType(int elementId);
// The segment that holds the element, -1 for an unknown element.
VEXAPI int VexElmGetSegment(int elementId);

// ---------------------------------------------------------------------------------------------
// Figures and line attributes
// ---------------------------------------------------------------------------------------------

// A new figure appended to a segment of figures; its element id, or -1.
VEXAPI int VexFigCreateFigure(int segmentId, const FigureRecord* figure);
// A new figure placed right after the given one in its segment; its element id, or -1.
VEXAPI int VexFigInsertFigure(int elementId, const FigureRecord* figure);
// Up to capacity figures of a segment, in order; the number written, -1 on failure.
VEXAPI int VexFigGetFigure2(const SegmentRef* segment, FigureRecord* figures, int capacity);
// The figure of one element ({auxId, elementId}); 0, or -1 when it holds no figure.
VEXAPI int VexFigGetFigure(const SegmentRef* element, FigureRecord* figure);
// The short line attribute record of an element; -1 when the element has none.
VEXAPI int VexFigGetLineType(int elementId, VexLineTypeData* data);
VEXAPI int VexFigSetLineType(int elementId, const VexLineTypeData* data);
// The full line attribute record of an element; -1 when the element has none.
VEXAPI int VexFigGetLineType2(int elementId, LineAttr* attr);
VEXAPI int VexFigSetLineType2(int elementId, const LineAttr* attr);
// Reverses the drawing direction of every figure and the order of the figures; -1 on failure.
VEXAPI int VexFigReverse(int segmentId);
// Non-zero when the segment's figures form one closed chain.
VEXAPI int VexFigIsClosed(int segmentId);

// ---------------------------------------------------------------------------------------------
// Holes
// ---------------------------------------------------------------------------------------------

// The hole id of a segment, -1 when it carries none.
VEXAPI int VexHolGetHoleId(const SegmentRef* segment);
// Fills the hole record; its items belong to the host until VexHoleFreeHoleData. -1 on failure.
VEXAPI int VexHolGetHoleData(int holeId, HoleData* data);
VEXAPI void VexHoleFreeHoleData(HoleData* data);

// ---------------------------------------------------------------------------------------------
// Layers
// ---------------------------------------------------------------------------------------------

VEXAPI int VexLyrGetVisibility(int layer);
VEXAPI int VexLyrGetCurrentLayer(void);
VEXAPI int VexLyrSetCurrentLayer(int layer);

// ---------------------------------------------------------------------------------------------
// Geometric arithmetic
// ---------------------------------------------------------------------------------------------

VEXAPI double VexAriLen2Pnts(const VexPoint* a, const VexPoint* b);
// 2 when the point lies on the arc, else 0.
VEXAPI int VexAriOnchkArc(const FigureRecord* arc, const VexPoint* point);
// 1 when the point lies strictly outside the closed outline the figures form, else 0.
VEXAPI int VexAriIochkPnt(const FigureRecord* figures, int count, const VexPoint* point);
// 1 when the two infinite lines (line FigureRecords) meet, the meeting point written; else 0.
VEXAPI int VexAriItsLinLin(int mode, const FigureRecord* a, const FigureRecord* b, VexPoint* point);

// ---------------------------------------------------------------------------------------------
// Comments: balloons and plain texts
// ---------------------------------------------------------------------------------------------

// A balloon in a comment segment; the host copies the row texts. Its element id, or -1.
VEXAPI int VexCmtCreateBalloon(int segmentId, const BalloonData* data);
// The comment of an element into the buffer; -1 when the element holds no comment.
VEXAPI int VexCmtGetComment(int elementId, VexCommentBuffer* buffer);
// A plain text in a comment segment; the host copies the text. Its element id, or -1.
VEXAPI int VexCmtCreateNormal(int segmentId, const NormalTextData* data);
VEXAPI int VexCmtSetCharSize(int elementId, const CharSizeData* size);

#ifdef __cplusplus
}  // extern "C"
#endif

// ---------------------------------------------------------------------------------------------
// Layout checks: these records cross the boundary byte for byte.
// ---------------------------------------------------------------------------------------------

#ifdef __cplusplus
#define VEX_LAYOUT(type, size)                          \
  static_assert(sizeof(type) == (size), #type " size"); \
  static_assert(std::is_standard_layout_v<type>, #type " layout")
#define VEX_OFFSET(type, field, offset) \
  static_assert(offsetof(type, field) == (offset), #type "." #field " offset")
#else
#define VEX_LAYOUT(type, size) _Static_assert(sizeof(type) == (size), #type " size")
#define VEX_OFFSET(type, field, offset) \
  _Static_assert(offsetof(type, field) == (offset), #type "." #field " offset")
#endif

VEX_LAYOUT(SegmentRef, 8);
VEX_OFFSET(SegmentRef, auxId, 0);
VEX_OFFSET(SegmentRef, segmentId, 4);
VEX_LAYOUT(VexIdRecord, 8);
VEX_OFFSET(VexIdRecord, segmentId, 0);
VEX_OFFSET(VexIdRecord, auxId, 4);

VEX_LAYOUT(FigureRecord, 88);
VEX_OFFSET(FigureRecord, kind, 0);
VEX_OFFSET(FigureRecord, u.line.x1, 8);
VEX_OFFSET(FigureRecord, u.line.y1, 16);
VEX_OFFSET(FigureRecord, u.line.x2, 24);
VEX_OFFSET(FigureRecord, u.line.y2, 32);
VEX_OFFSET(FigureRecord, u.circle.cx, 8);
VEX_OFFSET(FigureRecord, u.circle.cy, 16);
VEX_OFFSET(FigureRecord, u.circle.r, 24);
VEX_OFFSET(FigureRecord, u.circle.flag, 32);
VEX_OFFSET(FigureRecord, u.circle.code, 36);
VEX_OFFSET(FigureRecord, u.circle.value, 40);
VEX_OFFSET(FigureRecord, u.arc.cx, 8);
VEX_OFFSET(FigureRecord, u.arc.cy, 16);
VEX_OFFSET(FigureRecord, u.arc.sx, 24);
VEX_OFFSET(FigureRecord, u.arc.sy, 32);
VEX_OFFSET(FigureRecord, u.arc.ex, 40);
VEX_OFFSET(FigureRecord, u.arc.ey, 48);
VEX_OFFSET(FigureRecord, u.arc.r, 56);
VEX_OFFSET(FigureRecord, u.arc.direction, 64);
VEX_OFFSET(FigureRecord, u.kind4.x1, 8);
VEX_OFFSET(FigureRecord, u.kind4.y2, 32);
VEX_OFFSET(FigureRecord, u.kind4.value, 40);
VEX_OFFSET(FigureRecord, u.kind5.x1, 8);
VEX_OFFSET(FigureRecord, u.kind5.x2, 24);
VEX_OFFSET(FigureRecord, u.kind5.x3, 40);
VEX_OFFSET(FigureRecord, u.kind5.y3, 48);
VEX_OFFSET(FigureRecord, u.kind5.a, 56);
VEX_OFFSET(FigureRecord, u.kind5.b, 64);
VEX_OFFSET(FigureRecord, u.kind5.c, 72);
VEX_OFFSET(FigureRecord, u.kind5.code, 80);
VEX_OFFSET(FigureRecord, u.point.x, 8);
VEX_OFFSET(FigureRecord, u.point.y, 16);

VEX_LAYOUT(LineAttr, 24);
VEX_OFFSET(LineAttr, color, 0);
VEX_OFFSET(LineAttr, lineType, 16);
VEX_OFFSET(LineAttr, attribute, 20);
VEX_LAYOUT(VexLineTypeData, 12);
VEX_OFFSET(VexLineTypeData, color, 0);
VEX_OFFSET(VexLineTypeData, lineType, 4);
VEX_OFFSET(VexLineTypeData, weight, 8);

VEX_LAYOUT(HoleItem, 240);
VEX_OFFSET(HoleItem, kind, 0);
VEX_OFFSET(HoleItem, layer, 4);
VEX_OFFSET(HoleItem, diameter, 8);
VEX_OFFSET(HoleItem, throughFlag, 16);
VEX_OFFSET(HoleItem, depth, 24);
VEX_OFFSET(HoleItem, standard, 48);
VEX_OFFSET(HoleItem, threadKind, 56);
VEX_OFFSET(HoleItem, name, 60);
VEX_OFFSET(HoleItem, count, 100);
VEX_OFFSET(HoleItem, pitch, 104);
VEX_OFFSET(HoleItem, finish, 120);
VEX_OFFSET(HoleItem, tolerance, 124);
VEX_OFFSET(HoleItem, mode, 224);
VEX_OFFSET(HoleItem, modeValue, 228);
VEX_LAYOUT(HoleData, 96);
VEX_OFFSET(HoleData, variant, 28);
VEX_OFFSET(HoleData, itemCount, 84);
VEX_OFFSET(HoleData, items, 88);

VEX_LAYOUT(BalloonData, 112);
VEX_OFFSET(BalloonData, leader, 4);
VEX_OFFSET(BalloonData, anchorX, 8);
VEX_OFFSET(BalloonData, anchorY, 16);
VEX_OFFSET(BalloonData, anchorElementId, 24);
VEX_OFFSET(BalloonData, anchorAuxId, 28);
VEX_OFFSET(BalloonData, zero32, 32);
VEX_OFFSET(BalloonData, centerX, 40);
VEX_OFFSET(BalloonData, centerY, 48);
VEX_OFFSET(BalloonData, zero56, 56);
VEX_OFFSET(BalloonData, zero64, 64);
VEX_OFFSET(BalloonData, rowCount, 72);
VEX_OFFSET(BalloonData, rows, 80);
VEX_OFFSET(BalloonData, rows[1], 88);
VEX_OFFSET(BalloonData, rows[2], 96);
VEX_OFFSET(BalloonData, diameter, 104);

VEX_LAYOUT(NormalTextData, 104);
VEX_OFFSET(NormalTextData, type, 0);
VEX_OFFSET(NormalTextData, x, 8);
VEX_OFFSET(NormalTextData, y, 16);
VEX_OFFSET(NormalTextData, zero24, 24);
VEX_OFFSET(NormalTextData, zero28, 28);
VEX_OFFSET(NormalTextData, text, 40);
VEX_OFFSET(NormalTextData, zero48, 48);
VEX_OFFSET(NormalTextData, zero56, 56);
VEX_OFFSET(NormalTextData, three, 60);
VEX_OFFSET(NormalTextData, size1, 64);
VEX_OFFSET(NormalTextData, size2, 72);
VEX_OFFSET(NormalTextData, zero80, 80);
VEX_OFFSET(NormalTextData, one, 96);
VEX_OFFSET(NormalTextData, ten, 100);
VEX_LAYOUT(CharSizeData, 24);
VEX_LAYOUT(VexCommentBuffer, 288);

VEX_LAYOUT(VexEchoRecord, 24);
VEX_OFFSET(VexEchoRecord, x, 8);
VEX_OFFSET(VexEchoRecord, y, 16);
VEX_LAYOUT(VexObjectRecord, 20);
VEX_LAYOUT(VexPoint, 16);
VEX_LAYOUT(VexBox, 32);

#undef VEX_LAYOUT
#undef VEX_OFFSET

#endif  // VEXLIB_VEXLIB_H
