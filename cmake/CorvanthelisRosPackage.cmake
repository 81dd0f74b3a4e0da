# How ROS 2 tools and colcon find an installed package.
#
# The ament index, share/ament_index/resource_index/ under the prefix: packages/<pkg> (empty:
# the package exists), rosidl_interfaces/<pkg> (its definition files, msg/Trash.msg, ..., one
# a line, which `ros2 interface` reads), package_run_dependencies/<pkg> (what it needs at run
# time, separated by ';', which colcon orders sourced packages by).
#
# The environment of a sourced workspace: colcon sources share/<pkg>/local_setup.{dsv,sh,bash}
# of a package of build type ament_cmake, which source the hooks in share/<pkg>/environment/
# that put the prefix on AMENT_PREFIX_PATH and the Python packages on PYTHONPATH (colcon's own
# Python hook names the version colcon runs under, not the one the package is built for).
#
# Where ament_cmake is found (CORVANTHELIS_AMENT), ament_package() writes all of it but the
# interface list and the Python hook, which it is handed; elsewhere the build writes them here,
# in the same shape.

include_guard(GLOBAL)

set(_CORVANTHELIS_ROS_ENVIRONMENT_DIR "${CMAKE_CURRENT_LIST_DIR}/ros_environment")

function(_corvanthelis_index_resource type pkg content)
  set(file "${CMAKE_BINARY_DIR}/ament_index/${type}/${pkg}")
  file(WRITE "${file}" "${content}")
  install(FILES "${file}" DESTINATION share/ament_index/resource_index/${type})
endfunction()

# corvanthelis_install_ros_index(<pkg> [RUN_DEPENDENCIES <pkgs...>]): the index entries of
# <pkg>, an interface package added by corvanthelis_add_interfaces().
function(corvanthelis_install_ros_index pkg)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "RUN_DEPENDENCIES")
  get_property(files GLOBAL PROPERTY CORVANTHELIS_${pkg}_INTERFACE_FILES)
  if(NOT files)
    message(FATAL_ERROR "corvanthelis_install_ros_index: ${pkg} has no definition files")
  endif()
  string(REPLACE ";" "\n" interfaces "${files}")
  if(CORVANTHELIS_AMENT)
    ament_index_register_resource(rosidl_interfaces CONTENT "${interfaces}\n")
    return()
  endif()
  _corvanthelis_index_resource(packages ${pkg} "")
  _corvanthelis_index_resource(rosidl_interfaces ${pkg} "${interfaces}\n")
  _corvanthelis_index_resource(package_run_dependencies ${pkg} "${arg_RUN_DEPENDENCIES}")
endfunction()

# The hook <name>.dsv and <name>.sh in `dir` that put <prefix>/<value> (the prefix itself when
# `value` is empty) first on `variable`.
function(_corvanthelis_environment_hook dir pkg name variable value)
  set(suffix "")
  set(shown "the prefix")
  if(value)
    set(suffix "/${value}")
    set(shown "<prefix>/${value}")
  endif()
  foreach(shell dsv sh)
    configure_file("${_CORVANTHELIS_ROS_ENVIRONMENT_DIR}/prepend.${shell}.in"
      "${dir}/${name}.${shell}" @ONLY)
  endforeach()
endfunction()

# corvanthelis_install_ros_environment(<pkg>): the local_setup files and environment hooks of
# <pkg>, whose Python packages are in CORVANTHELIS_PYTHON_INSTALL_DIR.
function(corvanthelis_install_ros_environment pkg)
  set(dir "${CMAKE_BINARY_DIR}/ros_environment/${pkg}")
  _corvanthelis_environment_hook("${dir}" ${pkg} pythonpath PYTHONPATH
    "${CORVANTHELIS_PYTHON_INSTALL_DIR}")
  if(CORVANTHELIS_AMENT)
    ament_environment_hooks("${dir}/pythonpath.dsv" "${dir}/pythonpath.sh")
    return()
  endif()
  _corvanthelis_environment_hook("${dir}" ${pkg} ament_prefix_path AMENT_PREFIX_PATH "")
  set(hooks ament_prefix_path pythonpath)
  set(sources "")
  foreach(hook IN LISTS hooks)
    install(FILES "${dir}/${hook}.dsv" "${dir}/${hook}.sh" DESTINATION share/${pkg}/environment)
    string(APPEND sources "source;share/${pkg}/environment/${hook}.dsv\n")
  endforeach()
  string(STRIP "${sources}" sources)
  list(JOIN hooks " " hooks)
  foreach(shell dsv sh bash)
    configure_file("${_CORVANTHELIS_ROS_ENVIRONMENT_DIR}/local_setup.${shell}.in"
      "${dir}/local_setup.${shell}" @ONLY)
    install(FILES "${dir}/local_setup.${shell}" DESTINATION share/${pkg})
  endforeach()
endfunction()

# corvanthelis_run_dependencies(<out-var> <package.xml>): the packages a manifest names as
# needed at run time (<depend>, <exec_depend>), in its order.
function(corvanthelis_run_dependencies out_var manifest)
  file(READ "${manifest}" text)
  string(REGEX MATCHALL "<(depend|exec_depend)>[^<]+</" tags "${text}")
  set(names "")
  foreach(tag IN LISTS tags)
    string(REGEX REPLACE "^<[a-z_]+>[ \t\r\n]*([^ \t\r\n<]+)[ \t\r\n]*</$" "\\1" name "${tag}")
    list(APPEND names "${name}")
  endforeach()
  list(REMOVE_DUPLICATES names)
  set(${out_var} "${names}" PARENT_SCOPE)
endfunction()
