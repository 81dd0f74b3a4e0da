# Whether the build takes the type-support runtimes and the interface packages it depends on
# from an installed ROS 2 or builds the stand-ins in platform/.
#
# CORVANTHELIS_USE_SYSTEM_ROS is ON, OFF or AUTO (the default). AUTO means ON in a ROS
# environment: ROS_DISTRO set (a sourced setup script sets it), or a prefix on
# AMENT_PREFIX_PATH or CMAKE_PREFIX_PATH that holds the type-support runtime in its ament
# index, as /opt/ros/humble does. The stand-ins carry the real packages' names, so installing
# them there would hide the real ones from everything sourced after.
#
# Results for the rest of the build: CORVANTHELIS_SYSTEM_ROS and CORVANTHELIS_AMENT, true or
# false.

include_guard(GLOBAL)

set(CORVANTHELIS_USE_SYSTEM_ROS AUTO CACHE STRING
  "Build against an installed ROS 2 Humble (ON), the stand-ins in platform/ (OFF), or whichever the environment says (AUTO)")
set_property(CACHE CORVANTHELIS_USE_SYSTEM_ROS PROPERTY STRINGS AUTO ON OFF)

# The first prefix among `ARGN` (lists of paths) whose ament index names the runtime every
# deliverable's dispatch links, in `out_var`; empty when none does.
function(_corvanthelis_ros_prefix_among out_var)
  set(${out_var} "" PARENT_SCOPE)
  foreach(prefix IN LISTS ARGN)
    if(prefix AND EXISTS "${prefix}/share/ament_index/resource_index/packages/rosidl_typesupport_c")
      set(${out_var} "${prefix}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

# Sets `out_var` to the choice and `why_var` to the reason configure reports.
function(_corvanthelis_choose_ros out_var why_var)
  string(TOUPPER "${CORVANTHELIS_USE_SYSTEM_ROS}" choice)
  if(NOT choice MATCHES "^(AUTO|ON|OFF|TRUE|FALSE|YES|NO|Y|N|1|0)$")
    message(FATAL_ERROR "CORVANTHELIS_USE_SYSTEM_ROS is ON, OFF or AUTO, not "
      "'${CORVANTHELIS_USE_SYSTEM_ROS}'")
  endif()
  if(CORVANTHELIS_HUMBLE_PREFIX)
    if(NOT choice STREQUAL "AUTO" AND CORVANTHELIS_USE_SYSTEM_ROS)
      message(FATAL_ERROR "CORVANTHELIS_HUMBLE_PREFIX builds the stand-ins, which an installed "
        "ROS 2 (CORVANTHELIS_USE_SYSTEM_ROS=ON) replaces: choose one")
    endif()
    set(${out_var} FALSE PARENT_SCOPE)
    set(${why_var} "CORVANTHELIS_HUMBLE_PREFIX builds them as a prefix of their own" PARENT_SCOPE)
    return()
  endif()
  if(NOT choice STREQUAL "AUTO")
    if(CORVANTHELIS_USE_SYSTEM_ROS)
      set(${out_var} TRUE PARENT_SCOPE)
    else()
      set(${out_var} FALSE PARENT_SCOPE)
    endif()
    set(${why_var} "CORVANTHELIS_USE_SYSTEM_ROS is ${CORVANTHELIS_USE_SYSTEM_ROS}" PARENT_SCOPE)
    return()
  endif()
  set(${out_var} TRUE PARENT_SCOPE)
  if(DEFINED ENV{ROS_DISTRO} AND NOT "$ENV{ROS_DISTRO}" STREQUAL "")
    set(${why_var} "ROS_DISTRO=$ENV{ROS_DISTRO} is set" PARENT_SCOPE)
    return()
  endif()
  string(REPLACE ":" ";" ament_prefixes "$ENV{AMENT_PREFIX_PATH}")
  string(REPLACE ":" ";" cmake_prefixes "$ENV{CMAKE_PREFIX_PATH}")
  set(variable AMENT_PREFIX_PATH)
  _corvanthelis_ros_prefix_among(prefix ${ament_prefixes})
  if(NOT prefix)
    set(variable CMAKE_PREFIX_PATH)
    _corvanthelis_ros_prefix_among(prefix ${cmake_prefixes} ${CMAKE_PREFIX_PATH})
  endif()
  if(prefix)
    set(${why_var} "${prefix} on ${variable} holds ROS 2's type-support runtime" PARENT_SCOPE)
    return()
  endif()
  set(${out_var} FALSE PARENT_SCOPE)
  set(${why_var} "no ROS_DISTRO and no ROS 2 prefix on AMENT_PREFIX_PATH or CMAKE_PREFIX_PATH"
    PARENT_SCOPE)
endfunction()

_corvanthelis_choose_ros(CORVANTHELIS_SYSTEM_ROS _corvanthelis_ros_why)
if(CORVANTHELIS_SYSTEM_ROS)
  message(STATUS "ROS 2: the installed runtimes and interface packages, since "
    "${_corvanthelis_ros_why} (-DCORVANTHELIS_USE_SYSTEM_ROS=OFF builds the stand-ins instead)")
  if(DEFINED ENV{ROS_DISTRO} AND NOT "$ENV{ROS_DISTRO}" STREQUAL "humble")
    message(WARNING "ROS_DISTRO is '$ENV{ROS_DISTRO}'; the package is made for ROS 2 Humble")
  endif()
else()
  message(STATUS "ROS 2: the stand-ins in platform/, since ${_corvanthelis_ros_why} "
    "(-DCORVANTHELIS_USE_SYSTEM_ROS=ON builds against an installed ROS 2 instead)")
endif()
unset(_corvanthelis_ros_why)

# Where ament_cmake is found beside an installed ROS 2, it writes the package's index entry,
# environment hooks and configuration (CorvanthelisRosPackage.cmake); elsewhere the build does.
set(CORVANTHELIS_AMENT FALSE)
if(CORVANTHELIS_SYSTEM_ROS)
  find_package(ament_cmake_core QUIET)
  set(CORVANTHELIS_AMENT ${ament_cmake_core_FOUND})
  if(CORVANTHELIS_AMENT)
    message(STATUS "ament_cmake: found; it writes the package's index entry, hooks and configuration")
  else()
    message(STATUS "ament_cmake: not found; the build writes the package's index entry, hooks and "
      "configuration itself")
  endif()
endif()
