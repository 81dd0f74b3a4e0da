# The installed configuration of the package, for find_package(corvanthelis_interfaces):
# share/corvanthelis_interfaces/cmake/ with the export set, corvanthelis_interfaces-extras.cmake
# (everything the configuration sets) and the modules it loads. Where ament_cmake is found,
# ament_package() writes the configuration and its version file, given the extras as
# CONFIG_EXTRAS (CORVANTHELIS_AMENT_CONFIG_EXTRAS); elsewhere the build writes both.

include_guard(GLOBAL)
include(CMakePackageConfigHelpers)

set(_CORVANTHELIS_CONFIG_TEMPLATES "${CMAKE_CURRENT_LIST_DIR}")

# corvanthelis_install_platform_imports(<destination>): CorvanthelisPlatformImports.cmake and
# what it loads, into <destination> under the prefix.
function(corvanthelis_install_platform_imports destination)
  set(imports "${CMAKE_BINARY_DIR}/CorvanthelisPlatformImports.cmake")
  configure_file("${_CORVANTHELIS_CONFIG_TEMPLATES}/CorvanthelisPlatformImports.cmake.in"
    "${imports}" @ONLY)
  install(FILES "${imports}" "${_CORVANTHELIS_CONFIG_TEMPLATES}/CorvanthelisRuntime.cmake"
    DESTINATION "${destination}")
endfunction()

# corvanthelis_install_package_config(<pkg>)
function(corvanthelis_install_package_config pkg)
  set(config_dir share/${pkg}/cmake)
  install(EXPORT ${pkg}Targets NAMESPACE ${pkg}:: DESTINATION ${config_dir})
  corvanthelis_install_platform_imports(${config_dir})
  install(FILES "${_CORVANTHELIS_CONFIG_TEMPLATES}/CorvanthelisSystemRos.cmake"
    DESTINATION ${config_dir})

  corvanthelis_package_targets(targets ${pkg})
  list(TRANSFORM targets PREPEND "${pkg}::" OUTPUT_VARIABLE CORVANTHELIS_EXPORTED_TARGETS)
  set(extras "${CMAKE_BINARY_DIR}/${pkg}-extras.cmake")
  configure_file("${_CORVANTHELIS_CONFIG_TEMPLATES}/${pkg}-extras.cmake.in" "${extras}" @ONLY)
  if(CORVANTHELIS_AMENT)
    set(CORVANTHELIS_AMENT_CONFIG_EXTRAS "${extras}" PARENT_SCOPE)
    return()
  endif()
  configure_package_config_file("${_CORVANTHELIS_CONFIG_TEMPLATES}/${pkg}Config.cmake.in"
    "${CMAKE_BINARY_DIR}/${pkg}Config.cmake" INSTALL_DESTINATION ${config_dir})
  write_basic_package_version_file("${CMAKE_BINARY_DIR}/${pkg}ConfigVersion.cmake"
    COMPATIBILITY SameMajorVersion)
  install(FILES "${extras}" "${CMAKE_BINARY_DIR}/${pkg}Config.cmake"
    "${CMAKE_BINARY_DIR}/${pkg}ConfigVersion.cmake" DESTINATION ${config_dir})
endfunction()
