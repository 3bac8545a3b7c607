# Settings shared by every target of the project.

# Boost headers. The cross build sees them through a build-local folder that holds only boost/,
# so the host's other system headers never reach the mingw compiler.
find_path(QUILLON_BOOST_INCLUDE boost/regex.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
if(NOT TARGET QuillonBoost)
  add_library(QuillonBoost INTERFACE)
  if(CMAKE_CROSSCOMPILING)
    set(_boost_dir ${CMAKE_BINARY_DIR}/boost-include)
    file(MAKE_DIRECTORY ${_boost_dir})
    file(CREATE_LINK ${QUILLON_BOOST_INCLUDE}/boost ${_boost_dir}/boost SYMBOLIC)
    target_include_directories(QuillonBoost SYSTEM INTERFACE ${_boost_dir})
  else()
    target_include_directories(QuillonBoost SYSTEM INTERFACE ${QUILLON_BOOST_INCLUDE})
  endif()
endif()

# Warnings, Unicode, static runtime, sanitizers: one call per target.
function(quillon_target_settings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(WIN32)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      # x87 arithmetic keeps excess precision across a cast to float (GCC 12 in C++), so a value
      # rounded to single precision by the code is not; SSE2 rounds every type as the 64-bit build.
      target_compile_options(${target} PRIVATE -msse2 -mfpmath=sse)
    endif()
    get_target_property(_type ${target} TYPE)
    if(_type STREQUAL "EXECUTABLE" OR _type STREQUAL "SHARED_LIBRARY" OR _type STREQUAL "MODULE_LIBRARY")
      target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
  elseif(QUILLON_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# Every deliverable lands in dist/ beside the others, so that each program finds its siblings.
set(QUILLON_DIST_DIR ${CMAKE_CURRENT_LIST_DIR}/../dist CACHE PATH "Folder that receives the deliverables")
function(quillon_deliverable target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLON_DIST_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${QUILLON_DIST_DIR}/)
endfunction()

# quillon_resources(VAR rc-file [file ...]): the program's .rc file in VAR, rebuilt whenever one of
# the files it pulls in (manifest, icons, bitmaps, resource.h) changes. Every executable that shows
# the program's windows (the program and its window tests) lists VAR among its sources.
function(quillon_resources var rc)
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${ARGN})
  # Source properties hold per folder: kept here for the test folders that compile the file too.
  string(MD5 key "${rc}")
  set_property(GLOBAL PROPERTY QUILLON_RC_DEPENDS_${key} ${ARGN})
  set(${var} ${rc} PARENT_SCOPE)
endfunction()

# quillon_resource_depends(source ...): gives the .rc files among the sources, in the calling
# folder, the dependencies that quillon_resources named for them.
function(quillon_resource_depends)
  foreach(source IN LISTS ARGN)
    if(source MATCHES "\\.rc$")
      string(MD5 key "${source}")
      get_property(depends GLOBAL PROPERTY QUILLON_RC_DEPENDS_${key})
      if(depends)
        set_property(SOURCE ${source} APPEND PROPERTY OBJECT_DEPENDS ${depends})
      endif()
    endif()
  endforeach()
endfunction()
