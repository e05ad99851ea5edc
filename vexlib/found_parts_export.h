/* What the Twinfind module tells a host of its own about the command's last search, beside the
 * host API: the part, and for each twin its segments, the part segment each paired with, the
 * motion that laid the part on it, as the search found them, and the copy the arrangement made
 * of it. The module exports TwinfindFoundParts beside Startup; the project's own tools (the
 * command-line tool, the view) read it for their reports, so that they tell what the search
 * found instead of working it out again. A host that does not ask loses nothing. */
#ifndef VEXLIB_FOUND_PARTS_EXPORT_H
#define VEXLIB_FOUND_PARTS_EXPORT_H

#include <stdint.h>

#include "vexlib/vexlib.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct TwfTwinSegment {
  SegmentRef ref;
  int32_t partSegment; /* the index (from 0) of the part segment it paired with */
} TwfTwinSegment;

typedef struct TwfTwin {
  /* Part coordinates to the twin's: x' = a x + b y + tx, y' = c x + d y + ty. */
  double a, b, c, d, tx, ty;
  int32_t mirrored; /* 1: a mirror image of the part */
  int32_t segmentCount;
  const TwfTwinSegment* segments;
  int32_t copyCount; /* the segments of its copy in the last row placed; 0: none */
  const SegmentRef* copies;
} TwfTwin;

typedef struct TwfFoundParts {
  uint32_t searches; /* part steps that searched since the module was loaded */
  int32_t partCount;
  const SegmentRef* part;
  int32_t twinCount;
  const TwfTwin* twins;
} TwfFoundParts;

/* The last search as it stands; valid until the command's next callback runs. */
typedef const TwfFoundParts* (*TwfFoundPartsFunc)(void);

#define TWINFIND_FOUND_PARTS_SYMBOL "TwinfindFoundParts"

#ifdef __cplusplus
}
#endif

#endif /* VEXLIB_FOUND_PARTS_EXPORT_H */
