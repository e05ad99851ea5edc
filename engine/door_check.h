// Outside the plug-in, the search is reached through its one door, engine/twin_finder.h: the
// rooms that use its answers (the survey, the parts outputs, the Python module) are built with
// TWINFIND_ENGINE_DOOR_ONLY, and every other engine header refuses to be included there except
// through the door. No include guard: each header that includes it is checked.
#if defined(TWINFIND_ENGINE_DOOR_ONLY) && !defined(TWINFIND_THROUGH_ENGINE_DOOR)
#error "outside the plug-in the engine is reached through engine/twin_finder.h alone"
#endif
