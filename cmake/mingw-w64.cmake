# Cross toolchain for Windows with MinGW-w64 and the posix thread model.
#
# KV_MINGW_ARCH=i686 (the default) builds the shipped deliverables: 32-bit on
# purpose, because the outside camera libraries they load and the tray-icon
# record are 32-bit contracts. KV_MINGW_ARCH=x86_64 builds the same sources
# as 64-bit programs; that is the tree whose tests run under Wine on machines
# that cannot start 32-bit user code (see the README).
set(CMAKE_SYSTEM_NAME Windows)

set(KV_MINGW_ARCH i686 CACHE STRING "i686 (shipped deliverables) or x86_64 (Wine test tree)")
set_property(CACHE KV_MINGW_ARCH PROPERTY STRINGS i686 x86_64)
if(KV_MINGW_ARCH STREQUAL "i686")
  set(CMAKE_SYSTEM_PROCESSOR x86)
else()
  set(CMAKE_SYSTEM_PROCESSOR AMD64)
endif()

set(KV_MINGW_TRIPLE ${KV_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${KV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KV_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
