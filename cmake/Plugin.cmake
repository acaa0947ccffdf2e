# A game plug-in: a DLL under the name the host loads, exporting what its .def file lists.
function(zorv_plugin name)
  add_library(${name} SHARED ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "")
  # From the project root, as "orvane/resource.h": both games have a resource.h, a GameStartDlg.h
  # and a res/banner.bmp.
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${ZORV_GENERATED_DIR})
  target_link_libraries(${name} PRIVATE zorv_product_flags pluginentry common)
  # The link map tells the checks of the built DLL where each exported function lies.
  target_link_options(${name} PRIVATE -Wl,-Map=${CMAKE_CURRENT_BINARY_DIR}/${name}.map -Wl,--gc-sections)
  # Its resource ids, as "orvane/resource.h", for whatever drives its dialogs.
  add_library(${name}_ids INTERFACE)
  target_include_directories(${name}_ids INTERFACE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name}_ids INTERFACE contract)
endfunction()
