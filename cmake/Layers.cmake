# Each layer's headers are written "layer/Name.h" and reached through an include
# folder that holds that one layer (a link to its sources). A target sees its
# own layer and the ones it links, so an include that runs back up a layer
# does not compile.
function(veltrane_layer_library layer)
  cmake_parse_arguments(arg "" "" "SOURCES;PUBLIC_LINKS;PRIVATE_LINKS" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/include/${layer})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${layer} ${root}/${layer} SYMBOLIC)
  add_library(veltrane_${layer} STATIC ${arg_SOURCES})
  target_include_directories(veltrane_${layer} PUBLIC ${root})
  target_link_libraries(veltrane_${layer} PUBLIC ${arg_PUBLIC_LINKS} PRIVATE ${arg_PRIVATE_LINKS})
endfunction()

# The tests of a layer see their own helpers, those of the layers below and
# tests/support, the same way.
function(veltrane_test_include_root out layer)
  set(root ${CMAKE_BINARY_DIR}/include/tests/${layer})
  file(MAKE_DIRECTORY ${root})
  foreach(seen IN ITEMS support ${ARGN})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/tests/${seen} ${root}/${seen} SYMBOLIC)
  endforeach()
  set(${out} ${root} PARENT_SCOPE)
endfunction()
