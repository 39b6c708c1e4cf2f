# Include folders of their own: a library exposes only its own headers, so a
# module can include only what it links.
#
# Every #include names a header by its path from the source root
# ("ctrl/xulib/XuLib.h"). Instead of the whole source tree, a library gets a
# folder of its own, build/include/LIBRARY, that holds links to what it
# exposes under those same paths. A header of a library that is not linked is
# then not found, and the build says so.
#
#   kv_include_root(TARGET [PRIVATE] [FOLDERS folder...] [FILES_OF folder...]
#                   [FILES header...])
#     FOLDERS   whole folders of the source root (one library, one folder)
#     FILES_OF  the headers directly in a folder whose subfolders are other
#               libraries (platform/, plugin/, ctrl/, installer/)
#     FILES     single headers (what a program shares with the test that
#               drives it)
#     PRIVATE   for a program or module: the folder is its own, not passed on
#
# The links are symbolic: the build machine is Linux (the Windows programs are
# cross-built), and a link never goes stale as a copy would. A header added to
# a FILES_OF folder is picked up when CMake next runs (the glob asks for that).
function(kv_include_root target)
  cmake_parse_arguments(R "PRIVATE" "" "FOLDERS;FILES_OF;FILES" ${ARGN})
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  # Links left by an earlier configure would outlive a folder taken away here.
  file(REMOVE_RECURSE ${root})
  set(paths ${R_FOLDERS} ${R_FILES})
  foreach(folder IN LISTS R_FILES_OF)
    file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/${folder}/*.h)
    list(APPEND paths ${headers})
  endforeach()
  foreach(path IN LISTS paths)
    if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${path})
      message(FATAL_ERROR "kv_include_root(${target}): ${path} is not in the source tree")
    endif()
    get_filename_component(parent ${root}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${path} ${root}/${path} SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(R_PRIVATE)
    target_include_directories(${target} PRIVATE ${root})
  elseif(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# The tests' own folder (fixtures, fakes, test helpers), for every target
# below the folder that calls this: tests include "tests/..." and, of the
# product, only what they link.
function(kv_tests_include_folder)
  set(root ${PROJECT_BINARY_DIR}/include/tests)
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/tests ${root}/tests SYMBOLIC)
  include_directories(${root})
endfunction()
