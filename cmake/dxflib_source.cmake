# dxflib built from the sources of Debian's source package, for the fuzz build: the folder
# TWINFIND_DXFLIB_DEPS is prepared by cmake/fetch_windows_deps.sh (./dev fuzz uses the Windows
# build's build/windows-deps), which holds dxflib/src and include/dxflib leading to it.
set(TWINFIND_DXFLIB_DEPS "${CMAKE_SOURCE_DIR}/build/windows-deps" CACHE PATH
    "Folder prepared by cmake/fetch_windows_deps.sh, with dxflib's sources")
if(NOT EXISTS "${TWINFIND_DXFLIB_DEPS}/dxflib/src/dl_dxf.cpp" OR
   NOT EXISTS "${TWINFIND_DXFLIB_DEPS}/include/dxflib/dl_dxf.h")
  message(FATAL_ERROR "The fuzz build needs dxflib's sources in TWINFIND_DXFLIB_DEPS "
                      "('${TWINFIND_DXFLIB_DEPS}'): run ./dev fuzz, or "
                      "cmake/fetch_windows_deps.sh FOLDER")
endif()

add_library(dxflib_source STATIC
  ${TWINFIND_DXFLIB_DEPS}/dxflib/src/dl_dxf.cpp
  ${TWINFIND_DXFLIB_DEPS}/dxflib/src/dl_writer_ascii.cpp)
# Someone else's code: built as it is, without our warnings.
target_compile_options(dxflib_source PRIVATE -w)
set(DXFLIB_INCLUDE_DIR "${TWINFIND_DXFLIB_DEPS}/include")
set(DXFLIB_LIBRARY dxflib_source)
