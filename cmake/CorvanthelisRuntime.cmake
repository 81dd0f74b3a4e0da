# corvanthelis_find_runtime(): the Debian-packaged runtime libraries every deliverable links,
# as imported targets. Used by the build and by the installed package configuration alike.

include_guard(GLOBAL)

function(corvanthelis_find_runtime)
  if(TARGET corvanthelis::rosidl_runtime_c)
    return()
  endif()
  find_path(CORVANTHELIS_ROSIDL_RUNTIME_C_INCLUDE_DIR rosidl_runtime_c/string.h
    PATH_SUFFIXES rosidl_runtime_c REQUIRED)
  find_path(CORVANTHELIS_RCUTILS_INCLUDE_DIR rcutils/allocator.h
    PATH_SUFFIXES rcutils REQUIRED)
  find_path(CORVANTHELIS_TYPESUPPORT_INTERFACE_INCLUDE_DIR rosidl_typesupport_interface/macros.h
    PATH_SUFFIXES rosidl_typesupport_interface REQUIRED)
  find_path(CORVANTHELIS_ROSIDL_RUNTIME_CPP_INCLUDE_DIR rosidl_runtime_cpp/traits.hpp
    PATH_SUFFIXES rosidl_runtime_cpp REQUIRED)
  # The C++ dispatch's handle templates, which the C++ classes' headers declare specialisations
  # of: Debian ships them with rosidl_runtime_cpp, Humble with rosidl_typesupport_cpp.
  find_path(CORVANTHELIS_TYPESUPPORT_CPP_TEMPLATES_INCLUDE_DIR
    rosidl_typesupport_cpp/message_type_support.hpp
    PATH_SUFFIXES rosidl_runtime_cpp rosidl_typesupport_cpp REQUIRED)
  find_library(CORVANTHELIS_ROSIDL_RUNTIME_C_LIBRARY rosidl_runtime_c REQUIRED)
  find_library(CORVANTHELIS_RCUTILS_LIBRARY rcutils REQUIRED)
  find_path(CORVANTHELIS_FASTCDR_INCLUDE_DIR fastcdr/Cdr.h REQUIRED)
  find_library(CORVANTHELIS_FASTCDR_LIBRARY NAMES fastcdr libfastcdr.so.1 REQUIRED)
  add_library(corvanthelis::fastcdr UNKNOWN IMPORTED GLOBAL)
  set_target_properties(corvanthelis::fastcdr PROPERTIES
    IMPORTED_LOCATION "${CORVANTHELIS_FASTCDR_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${CORVANTHELIS_FASTCDR_INCLUDE_DIR}")

  add_library(corvanthelis::rcutils UNKNOWN IMPORTED GLOBAL)
  set_target_properties(corvanthelis::rcutils PROPERTIES
    IMPORTED_LOCATION "${CORVANTHELIS_RCUTILS_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${CORVANTHELIS_RCUTILS_INCLUDE_DIR}")
  set(runtime_includes
    "${CORVANTHELIS_ROSIDL_RUNTIME_C_INCLUDE_DIR}"
    "${CORVANTHELIS_TYPESUPPORT_INTERFACE_INCLUDE_DIR}")
  add_library(corvanthelis::rosidl_runtime_c UNKNOWN IMPORTED GLOBAL)
  set_target_properties(corvanthelis::rosidl_runtime_c PROPERTIES
    IMPORTED_LOCATION "${CORVANTHELIS_ROSIDL_RUNTIME_C_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${runtime_includes}"
    INTERFACE_LINK_LIBRARIES corvanthelis::rcutils)

  # Headers only; they include rosidl_runtime_c's message_initialization.h and record types,
  # but nothing of rosidl_runtime_c needs linking for them.
  add_library(corvanthelis::rosidl_runtime_cpp INTERFACE IMPORTED GLOBAL)
  set_target_properties(corvanthelis::rosidl_runtime_cpp PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES
      "${CORVANTHELIS_ROSIDL_RUNTIME_CPP_INCLUDE_DIR};${CORVANTHELIS_TYPESUPPORT_CPP_TEMPLATES_INCLUDE_DIR};${runtime_includes}")
endfunction()
