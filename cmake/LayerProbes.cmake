# Proves the include rule of cmake/Layers.cmake: for each layer, a file that
# includes a header of a layer above it must fail to compile, because that
# header is not found (any other failure fails the test).
function(veltrane_layer_probe layer header)
  string(MAKE_C_IDENTIFIER "${layer}_includes_${header}" name)
  set(source ${CMAKE_BINARY_DIR}/layer-probes/${name}.cpp)
  file(WRITE ${source} "#include \"${header}\"\n")
  add_library(probe_${name} OBJECT EXCLUDE_FROM_ALL ${source})
  target_link_libraries(probe_${name} PRIVATE veltrane_${layer})
  add_test(NAME LayerInclude.${name}
           COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target probe_${name})
  string(REPLACE "." "\\." pattern "${header}")
  set_tests_properties(LayerInclude.${name} PROPERTIES
    PASS_REGULAR_EXPRESSION "${pattern}[:'] ?(No such file|file not found)"
    RESOURCE_LOCK veltrane_build_tree)
endfunction()

veltrane_layer_probe(platform engine/Utf8.h)
veltrane_layer_probe(engine passes/PassRow.h)
veltrane_layer_probe(passes results/ResultFile.h)
veltrane_layer_probe(results cli/RowTally.h)
if(VELTRANE_GUI)
  veltrane_layer_probe(results browse/Glyphs.h)
  veltrane_layer_probe(browse passes/PassRow.h)
  veltrane_layer_probe(cli ui/Form1.h)
  veltrane_layer_probe(ui app/StartUsage.h)
endif()
