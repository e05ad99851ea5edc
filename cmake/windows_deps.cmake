# What the Windows build takes from outside the mingw-w64 tree, prepared by
# cmake/fetch_windows_deps.sh (which ./dev windows runs) in TWINFIND_WINDOWS_DEPS:
#   include/boost   Debian's Boost headers (the host uses header-only Boost.Geometry)
#   include/CLI     Debian's CLI11 headers (the tool's options)
set(TWINFIND_WINDOWS_DEPS "" CACHE PATH "Folder prepared by cmake/fetch_windows_deps.sh")
if(NOT EXISTS "${TWINFIND_WINDOWS_DEPS}/include/boost/version.hpp" OR
   NOT EXISTS "${TWINFIND_WINDOWS_DEPS}/include/CLI/CLI.hpp")
  message(FATAL_ERROR "The Windows build needs Boost's and CLI11's headers in "
                      "TWINFIND_WINDOWS_DEPS ('${TWINFIND_WINDOWS_DEPS}'): run ./dev windows, "
                      "or cmake/fetch_windows_deps.sh FOLDER")
endif()

set(Boost_INCLUDE_DIR "${TWINFIND_WINDOWS_DEPS}/include" CACHE PATH "Boost headers" FORCE)
set(Boost_NO_BOOST_CMAKE ON)

# The C library of Windows has no iconv; the DXF code's conversions between UTF-8 and the
# Windows code pages are done by the system's own (win32_iconv/iconv.h).
add_library(twinfind_win32_iconv STATIC ${CMAKE_CURRENT_LIST_DIR}/win32_iconv/iconv.cpp)
target_include_directories(twinfind_win32_iconv SYSTEM PUBLIC ${CMAKE_CURRENT_LIST_DIR}/win32_iconv)
