# corvanthelis_add_dispatch_runtime(<name> <sources>...): the dispatch runtime <name>
# (rosidl_typesupport_c or rosidl_typesupport_cpp), a shared library of its own sources and
# the lookup both runtimes share, with the headers in its include/ folder.
function(corvanthelis_add_dispatch_runtime name)
  corvanthelis_find_runtime()
  add_library(${name} SHARED ${ARGN})
  target_include_directories(${name} PRIVATE "${CMAKE_CURRENT_FUNCTION_LIST_DIR}")
  target_link_libraries(${name} PUBLIC corvanthelis::rosidl_runtime_c PRIVATE ${CMAKE_DL_LIBS})
  # Its error messages name their source file; the installed library must not name this tree.
  target_compile_options(${name} PRIVATE "-fmacro-prefix-map=${PROJECT_SOURCE_DIR}/=")
  corvanthelis_hide_std_symbols(${name})
  # With the headers of its include/, in the Debian layout include/<package>/<package>/<header>.
  corvanthelis_install_runtime_stand_in(${name})
  # Providers are loaded by plain file name; besides LD_LIBRARY_PATH, the loader then searches
  # this library's own run path, which names the folder the packages' libraries live in.
  set_target_properties(${name} PROPERTIES
    BUILD_RPATH "${CMAKE_LIBRARY_OUTPUT_DIRECTORY}"
    INSTALL_RPATH "$ORIGIN")
endfunction()
