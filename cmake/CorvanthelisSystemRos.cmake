# The installed ROS 2 Humble in place of the stand-ins in platform/ (CorvanthelisRosEnvironment.cmake
# chooses). Its type-support runtimes and interface packages are found with find_package and
# given the names the stand-ins have in this build (rosidl_typesupport_c,
# std_msgs__rosidl_generator_c, ...), so nothing that links them changes. Used by the build and
# by the installed package configuration alike. The two lists name the runtimes and the
# interface packages either way: platform/ builds a stand-in of each runtime listed.

include_guard(GLOBAL)

set(CORVANTHELIS_SYSTEM_RUNTIMES
  rosidl_typesupport_c
  rosidl_typesupport_cpp
  rosidl_typesupport_introspection_c
  rosidl_typesupport_introspection_cpp
  rosidl_typesupport_fastrtps_c
  rosidl_typesupport_fastrtps_cpp)
set(CORVANTHELIS_SYSTEM_INTERFACES
  builtin_interfaces
  std_msgs
  geometry_msgs
  sensor_msgs
  unique_identifier_msgs
  action_msgs)

# corvanthelis_find_system_ros(): every runtime and interface package, or one error that names
# all that are missing. A macro, so that the packages' targets are defined in the caller's
# directory and seen below it.
macro(corvanthelis_find_system_ros)
  set(_corvanthelis_missing "")
  foreach(_corvanthelis_package IN LISTS CORVANTHELIS_SYSTEM_RUNTIMES CORVANTHELIS_SYSTEM_INTERFACES)
    find_package(${_corvanthelis_package} QUIET)
    if(NOT ${_corvanthelis_package}_FOUND)
      list(APPEND _corvanthelis_missing ${_corvanthelis_package})
    endif()
  endforeach()
  if(_corvanthelis_missing)
    list(JOIN _corvanthelis_missing ", " _corvanthelis_missing)
    message(FATAL_ERROR "This build is against an installed ROS 2 Humble, but find_package "
      "found no ${_corvanthelis_missing}. Source its setup script (e.g. "
      "/opt/ros/humble/setup.bash) or put its prefix on CMAKE_PREFIX_PATH; "
      "-DCORVANTHELIS_USE_SYSTEM_ROS=OFF builds the stand-ins in platform/ instead.")
  endif()
endmacro()

# A target of this build named `name` that stands for the installed package's target
# `ros_target`, or, where the package exports no such target, for its library file (`form` is
# the deliverable's, as the interface compiler describes it).
function(_corvanthelis_system_target name ros_target package library form)
  add_library(${name} INTERFACE)
  if(TARGET ${ros_target})
    target_link_libraries(${name} INTERFACE ${ros_target})
    # Read directly by programs that take a support's headers without linking it.
    set_target_properties(${name} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES
      "$<TARGET_PROPERTY:${ros_target},INTERFACE_INCLUDE_DIRECTORIES>")
  else()
    cmake_path(SET prefix NORMALIZE "${${package}_DIR}/../../..")
    target_include_directories(${name} INTERFACE "${prefix}/include/${package}")
    if(form STREQUAL "headers")
      corvanthelis_install_library(${name})
      return()
    endif()
    find_library(CORVANTHELIS_SYSTEM_${name} ${library} PATHS "${prefix}/lib" NO_DEFAULT_PATH)
    if(NOT CORVANTHELIS_SYSTEM_${name})
      message(FATAL_ERROR "${package} (${${package}_DIR}) has neither the target ${ros_target} "
        "nor lib${library}.so in ${prefix}/lib")
    endif()
    target_link_libraries(${name} INTERFACE "${CORVANTHELIS_SYSTEM_${name}}")
  endif()
  corvanthelis_install_library(${name})
endfunction()

# corvanthelis_use_system_runtimes(): the runtimes under the stand-ins' target names.
function(corvanthelis_use_system_runtimes)
  foreach(runtime IN LISTS CORVANTHELIS_SYSTEM_RUNTIMES)
    _corvanthelis_system_target(${runtime} ${runtime}::${runtime} ${runtime} ${runtime}
      shared_library)
  endforeach()
endfunction()

# corvanthelis_import_interfaces(PACKAGE <pkg> [DEFINITIONS <files...>] [DEPENDENCIES <pkgs...>])
#
# The installed interface package <pkg> in place of the stand-in that
# corvanthelis_add_interfaces() would build with the same arguments: its libraries under the
# stand-in's target names, which the interface compiler gives (CorvanthelisInterfaces.cmake
# must be included), and its own definitions (share/<pkg>/msg, ...) for the packages that
# depend on it. DEFINITIONS name the stand-in's files and are not used.
function(corvanthelis_import_interfaces)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "PACKAGE" "DEFINITIONS;DEPENDENCIES")
  set(pkg ${arg_PACKAGE})
  if(NOT pkg IN_LIST CORVANTHELIS_SYSTEM_INTERFACES)
    message(FATAL_ERROR "corvanthelis_import_interfaces: ${pkg} is not among the packages "
      "found in the installed ROS 2 (${CORVANTHELIS_SYSTEM_INTERFACES})")
  endif()
  corvanthelis_describe_deliverables(${pkg})
  get_property(deliverables GLOBAL PROPERTY CORVANTHELIS_${pkg}_DELIVERABLES)
  foreach(deliverable IN LISTS deliverables)
    get_property(target GLOBAL PROPERTY CORVANTHELIS_${pkg}_${deliverable}_TARGET)
    get_property(form GLOBAL PROPERTY CORVANTHELIS_${pkg}_${deliverable}_FORM)
    if(NOT target STREQUAL "-")
      _corvanthelis_system_target(${target} ${pkg}::${target} ${pkg} ${target} ${form})
    endif()
  endforeach()
  cmake_path(SET share NORMALIZE "${${pkg}_DIR}/..")
  corvanthelis_register_definitions(${pkg} "${share}" ${arg_DEPENDENCIES})
endfunction()
