# The module and host libraries with their public headers, and the CMake package that exports them:
# Spectrafil::module (include/spectrafil) and Spectrafil::tavorin_host (include/tavorin).
include(CMakePackageConfigHelpers)

set(module_include_dir ${CMAKE_INSTALL_INCLUDEDIR}/spectrafil)
set(host_include_dir ${CMAKE_INSTALL_INCLUDEDIR}/tavorin)
set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Spectrafil)

# The layers give the libraries' users folders of this source and build tree; an installed library's
# users get the installed include folder instead.
function(spectrafil_build_tree_includes target)
  get_target_property(folders ${target} INTERFACE_INCLUDE_DIRECTORIES)
  set(build_folders)
  foreach(folder IN LISTS folders)
    list(APPEND build_folders "$<BUILD_INTERFACE:${folder}>")
  endforeach()
  set_property(TARGET ${target} PROPERTY INTERFACE_INCLUDE_DIRECTORIES ${build_folders})
endfunction()
spectrafil_build_tree_includes(spectrafil_module)
spectrafil_build_tree_includes(tavorin_host)

set_target_properties(spectrafil_module tavorin_host PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(spectrafil_module PROPERTIES EXPORT_NAME module)
install(TARGETS spectrafil_module EXPORT SpectrafilTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} INCLUDES DESTINATION ${module_include_dir})
install(TARGETS tavorin_host EXPORT SpectrafilTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} INCLUDES DESTINATION ${host_include_dir})

# The dialog's header includes the form that AUTOUIC generates from the .ui file.
get_target_property(module_autogen_dir spectrafil_module AUTOGEN_BUILD_DIR)
if(NOT module_autogen_dir)
  set(module_autogen_dir ${PROJECT_BINARY_DIR}/spectrafil_module_autogen)
endif()
file(GLOB ui_headers ${PROJECT_SOURCE_DIR}/ui/*.h)
install(FILES ${PROJECT_SOURCE_DIR}/filters/fourier_filters.h ${PROJECT_SOURCE_DIR}/filters/filter_catalogue.h ${PROJECT_SOURCE_DIR}/filters/filters_export.h
              ${ui_headers} ${module_autogen_dir}/include/ui_FourierFilterDialog.h
        DESTINATION ${module_include_dir})
file(GLOB host_headers ${PROJECT_SOURCE_DIR}/host/*.h)
install(FILES ${host_headers} DESTINATION ${host_include_dir})

install(EXPORT SpectrafilTargets NAMESPACE Spectrafil:: DESTINATION ${package_dir})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/SpectrafilConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/SpectrafilConfig.cmake INSTALL_DESTINATION ${package_dir})
# Before 1.0 a minor version may change the interface.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/SpectrafilConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/SpectrafilConfig.cmake ${PROJECT_BINARY_DIR}/SpectrafilConfigVersion.cmake
        DESTINATION ${package_dir})
