# kv_warnings: the one set of warning flags for everything we compile. It is
# not set per folder or per target: kv_link_warnings() links it into every
# target the project defines, so a new target cannot miss it, while outside
# code built beside ours (GoogleTest, anything under a third_party folder)
# keeps its own flags.
add_library(kv_warnings INTERFACE)
if(MSVC)
  target_compile_options(kv_warnings INTERFACE /W4)
else()
  target_compile_options(kv_warnings INTERFACE -Wall -Wextra -Wshadow)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # g++ 12 reports impossible overlaps inside std::string's own copies at -O2
    # (fixed in 13); the warning says nothing about our code there.
    target_compile_options(kv_warnings INTERFACE -Wno-restrict)
  endif()
  if(KV_WERROR)
    target_compile_options(kv_warnings INTERFACE -Werror)
  endif()
endif()

function(kv_is_our_folder dir result)
  cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${dir}" NORMALIZE inside)
  if(inside AND NOT dir MATCHES "/third_party(/|$)")
    set(${result} TRUE PARENT_SCOPE)
  else()
    set(${result} FALSE PARENT_SCOPE)
  endif()
endfunction()

# kv_link_warnings(DIR): links kv_warnings into each compiled target defined
# in DIR and the folders below it. Called once, after every folder is added.
function(kv_link_warnings dir)
  kv_is_our_folder("${dir}" ours)
  if(NOT ours)
    return()
  endif()
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
      target_link_libraries(${target} PRIVATE kv_warnings)
    endif()
  endforeach()
  get_property(folders DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(folder IN LISTS folders)
    kv_link_warnings("${folder}")
  endforeach()
endfunction()
