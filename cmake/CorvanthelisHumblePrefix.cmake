# corvanthelis_install_humble_prefix(): with CORVANTHELIS_HUMBLE_PREFIX, installs the stand-ins
# that platform/ added (CorvanthelisStandIns.cmake) as a prefix laid out as /opt/ros/humble
# is, so that the package can be built here against an installed ROS 2:
#
#   share/ament_index/resource_index/packages/<name>  for every stand-in
#   share/<pkg>/cmake/<pkg>Config.cmake               <pkg>::<pkg>__<library> and <pkg>_TARGETS,
#                                                     with the packages it depends on found first
#   share/<runtime>/cmake/<runtime>Config.cmake       <runtime>::<runtime>
#   include/<name>/<name>/...                         headers
#   lib/python3.10/site-packages/<name>/              Python packages and extension modules
#   setup.bash, local_setup.bash                      the environment, with ROS_DISTRO=humble
#
# What the stand-ins link that is no ROS package (Debian's runtime libraries, Python, and the
# headers the generated code shares) is the package corvanthelis_platform of the prefix, which
# every configuration finds first.

include_guard(GLOBAL)

set(_CORVANTHELIS_HUMBLE_TEMPLATES "${CMAKE_CURRENT_LIST_DIR}/humble_prefix")

# The configuration of <name>, whose export set holds `targets`, finding `dependencies` first
# and running `preamble` before.
function(_corvanthelis_install_prefix_package name targets dependencies preamble)
  set(config_dir share/${name}/cmake)
  install(EXPORT ${name}Targets NAMESPACE ${name}:: DESTINATION ${config_dir})
  list(TRANSFORM targets PREPEND "${name}::")
  set(config "${CMAKE_BINARY_DIR}/humble_prefix/${name}Config.cmake")
  configure_file("${_CORVANTHELIS_HUMBLE_TEMPLATES}/packageConfig.cmake.in" "${config}" @ONLY)
  install(FILES "${config}" DESTINATION ${config_dir})
endfunction()

# The packages among `ARGN` whose targets of the same name `target` hands on to its users (links
# PUBLIC), in `out_var`: those its configuration must find first.
function(_corvanthelis_packages_linked out_var target)
  get_target_property(linked ${target} INTERFACE_LINK_LIBRARIES)
  set(packages "")
  foreach(package IN LISTS ARGN)
    if(package IN_LIST linked)
      list(APPEND packages ${package})
    endif()
  endforeach()
  set(${out_var} "${packages}" PARENT_SCOPE)
endfunction()

function(corvanthelis_install_humble_prefix)
  set(platform ${CORVANTHELIS_PLATFORM_PACKAGE})
  corvanthelis_install_platform_imports(share/${platform}/cmake)
  _corvanthelis_install_prefix_package(${platform} idlc_runtime ""
    "include(\"\${CMAKE_CURRENT_LIST_DIR}/CorvanthelisPlatformImports.cmake\")
if(NOT TARGET corvanthelis::python)
  set(${platform}_FOUND FALSE)
  set(${platform}_NOT_FOUND_MESSAGE \"\${CORVANTHELIS_PYTHON_NOT_FOUND_MESSAGE}\")
  return()
endif()")

  get_property(stand_ins GLOBAL PROPERTY CORVANTHELIS_STAND_INS)
  set(runtimes "")
  foreach(name IN LISTS stand_ins)
    get_property(kind GLOBAL PROPERTY CORVANTHELIS_STAND_IN_KIND_${name})
    if(kind STREQUAL "runtime")
      # A runtime may build on one added before it, as a C++ one on its C twin.
      _corvanthelis_packages_linked(linked ${name} ${runtimes})
      list(APPEND runtimes ${name})
      set(dependencies ${platform} ${linked})
      _corvanthelis_install_prefix_package(${name} ${name} "${dependencies}" "")
      _corvanthelis_index_resource(packages ${name} "")
    elseif(kind STREQUAL "interfaces")
      # Every runtime was added before the first interface package.
      get_property(dependencies GLOBAL PROPERTY CORVANTHELIS_DEPENDENCIES_${name})
      corvanthelis_package_targets(targets ${name})
      _corvanthelis_install_prefix_package(${name} "${targets}"
        "${platform};${runtimes};${dependencies}" "")
      corvanthelis_install_ros_index(${name} RUN_DEPENDENCIES ${dependencies})
    else()
      _corvanthelis_index_resource(packages ${name} "")
    endif()
  endforeach()

  set(setup "${CMAKE_BINARY_DIR}/humble_prefix/setup.bash")
  configure_file("${_CORVANTHELIS_HUMBLE_TEMPLATES}/setup.bash.in" "${setup}" @ONLY)
  install(FILES "${setup}" DESTINATION .)
  install(FILES "${setup}" DESTINATION . RENAME local_setup.bash)
endfunction()
