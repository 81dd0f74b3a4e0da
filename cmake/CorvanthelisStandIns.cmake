# The stand-ins in platform/: ROS 2 Humble pieces that Debian 12 lacks, under the real names.
# Every stand-in is added through one of the functions here, which refuse to add one to a
# build against an installed ROS 2: installed beside the package there, a stand-in would hide
# the real package of the same name from everything sourced after it.
#
#   corvanthelis_install_runtime_stand_in(<name>)              a type-support runtime
#   corvanthelis_add_python_stand_in(<package> FILES <files>)  a Python package
#   corvanthelis_add_interfaces() where CORVANTHELIS_STAND_IN is set: an interface package
#
# Each is recorded (global property CORVANTHELIS_STAND_INS, with CORVANTHELIS_STAND_IN_KIND_<name>
# runtime, python or interfaces). They install in one of two ways:
#
# - Beside the package (the default without ROS): the libraries in the package's one export
#   set, and no ament index entry, which would make a later configure take the prefix for a
#   ROS 2 installation and tools list a few types under the real packages' names.
# - With CORVANTHELIS_HUMBLE_PREFIX, on their own, as a prefix laid out as /opt/ros/humble is
#   (CorvanthelisHumblePrefix.cmake): for trying the package against an installed ROS 2 here.

include_guard(GLOBAL)

# In such a prefix, the package of what the stand-ins link that is no ROS package.
set(CORVANTHELIS_PLATFORM_PACKAGE corvanthelis_platform)

function(_corvanthelis_refuse_stand_in name)
  if(CORVANTHELIS_SYSTEM_ROS)
    message(FATAL_ERROR "The stand-in ${name} must not be built against an installed ROS 2, "
      "whose own ${name} it would hide")
  endif()
endfunction()

# corvanthelis_register_stand_in(<kind> <name>): records a stand-in of `kind` (runtime, python or
# interfaces) called <name>.
function(corvanthelis_register_stand_in kind name)
  _corvanthelis_refuse_stand_in(${name})
  set_property(GLOBAL APPEND PROPERTY CORVANTHELIS_STAND_INS ${name})
  set_property(GLOBAL PROPERTY CORVANTHELIS_STAND_IN_KIND_${name} ${kind})
endfunction()

# corvanthelis_install_runtime_stand_in(<name>): the runtime library <name>, made by the caller in
# platform/typesupport/<name>/, with the headers of that folder's include/, which it installs
# in Humble's layout, include/<name>/<name>/<header>.
function(corvanthelis_install_runtime_stand_in name)
  corvanthelis_register_stand_in(runtime ${name})
  target_include_directories(${name} PUBLIC
    "$<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>"
    "$<INSTALL_INTERFACE:include/${name}>")
  corvanthelis_install_library(${name} PACKAGE ${name})
  install(DIRECTORY include/ DESTINATION include/${name})
endfunction()

# corvanthelis_add_python_stand_in(<package> FILES <files...>): the Python package <package>,
# whose FILES (relative to the calling folder, starting with <package>/) are copied into the
# build's Python tree and installed into the prefix's site-packages.
function(corvanthelis_add_python_stand_in package)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "FILES")
  corvanthelis_register_stand_in(python ${package})
  set(copies "")
  foreach(file IN LISTS arg_FILES)
    if(NOT file MATCHES "^${package}/")
      message(FATAL_ERROR "The Python stand-in ${package} holds ${file}, outside ${package}/")
    endif()
    set(copy "${CORVANTHELIS_PYTHON_TREE}/${file}")
    add_custom_command(
      OUTPUT "${copy}"
      COMMAND "${CMAKE_COMMAND}" -E copy "${CMAKE_CURRENT_SOURCE_DIR}/${file}" "${copy}"
      DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${file}"
      VERBATIM)
    list(APPEND copies "${copy}")
    cmake_path(GET file PARENT_PATH folder)
    install(FILES "${file}" DESTINATION "${CORVANTHELIS_PYTHON_INSTALL_DIR}/${folder}")
  endforeach()
  add_custom_target(${package}__python DEPENDS ${copies})
  add_dependencies(corvanthelis_python_tree ${package}__python)
endfunction()
