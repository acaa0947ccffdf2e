# A game plug-in: a DLL under the name the host loads, exporting what its .def file lists: the entry
# points every game has, over the description its folder gives.
function(zorv_plugin name)
  add_library(${name} SHARED ${ARGN} ${PROJECT_SOURCE_DIR}/common/EntryPoints.cpp)
  set_target_properties(${name} PROPERTIES PREFIX "")
  # From the project root, as "orvane/resource.h": every game has a resource.h, a GameStartDlg.h
  # and a res/banner.bmp.
  target_link_libraries(${name} PRIVATE zorv_product_flags pluginentry common games)
  # The link map tells the checks of the built DLL where each exported function lies.
  target_link_options(${name} PRIVATE -Wl,-Map=${CMAKE_CURRENT_BINARY_DIR}/${name}.map -Wl,--gc-sections)
endfunction()
