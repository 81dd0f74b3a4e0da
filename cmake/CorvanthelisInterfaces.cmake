# corvanthelis_add_interfaces(PACKAGE <name> DEFINITIONS <files...> [DEPENDENCIES <pkgs...>])
#
# Turns one package's definition files into its deliverables. The interface compiler must be
# known as CORVANTHELIS_IDLC before the first call; it runs once at configure time with --list
# so CMake knows every file it will write, and again at build time whenever a definition or the
# compiler changes. Dependencies must have been added by an earlier call.

include_guard(GLOBAL)

set(_CORVANTHELIS_MODULE_DIR "${CMAKE_CURRENT_LIST_DIR}")

# Each deliverable <d> has a function _corvanthelis_deliverable_<d>(<pkg> <out> <files> <deps>)
# that defines its targets from the files the compiler lists for it.
set(CORVANTHELIS_DELIVERABLES c fastrtps_c introspection_c dispatch_c cpp introspection_cpp
  fastrtps_cpp py_messages py_conversion py_extension)

include("${CMAKE_CURRENT_LIST_DIR}/CorvanthelisRuntime.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/CorvanthelisPython.cmake")

# A package added where CORVANTHELIS_TEST_PACKAGE is set exists only for the tests: it builds
# like any other but installs nothing.
macro(_corvanthelis_install)
  if(NOT CORVANTHELIS_TEST_PACKAGE)
    install(${ARGN})
  endif()
endmacro()

# Every library goes into the one export set that the installed package configuration loads,
# and finds the libraries it needs beside itself wherever the prefix is moved.
function(corvanthelis_install_library target)
  get_target_property(type ${target} TYPE)
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
    _corvanthelis_record_installed_binary(${target} lib)
  endif()
  _corvanthelis_install(TARGETS ${target} EXPORT corvanthelis_interfacesTargets LIBRARY DESTINATION lib)
endfunction()

# Each installed library and extension module, with its folder under the prefix, for the check
# that the prefix exports what the build tree does (see corvanthelis_write_installed_binaries).
function(_corvanthelis_record_installed_binary target destination)
  if(NOT CORVANTHELIS_TEST_PACKAGE)
    set_property(GLOBAL APPEND PROPERTY CORVANTHELIS_INSTALLED_BINARIES
      "${destination}/$<TARGET_FILE_NAME:${target}>=$<TARGET_FILE:${target}>")
  endif()
endfunction()

# corvanthelis_write_installed_binaries(<file>): writes one line per installed library and
# extension module, "<path under the prefix>=<path in the build tree>", at generation time.
function(corvanthelis_write_installed_binaries file)
  get_property(binaries GLOBAL PROPERTY CORVANTHELIS_INSTALLED_BINARIES)
  list(JOIN binaries "\n" lines)
  file(GENERATE OUTPUT "${file}" CONTENT "${lines}\n")
endfunction()

# corvanthelis_add_language_targets(<pkg>): one target per language with every library of the
# package that a client in that language links, exported as <pkg>::c, <pkg>::cpp and
# <pkg>::python and known by those names in this build too.
function(corvanthelis_add_language_targets pkg)
  set(c ${pkg}__rosidl_generator_c ${pkg}__rosidl_typesupport_c
    ${pkg}__rosidl_typesupport_introspection_c ${pkg}__rosidl_typesupport_fastrtps_c)
  set(cpp ${pkg}__rosidl_generator_cpp ${pkg}__rosidl_typesupport_introspection_cpp
    ${pkg}__rosidl_typesupport_fastrtps_cpp)
  set(python ${pkg}__rosidl_generator_py)
  foreach(language c cpp python)
    set(target ${pkg}_${language})
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${${language}})
    set_target_properties(${target} PROPERTIES EXPORT_NAME ${language})
    add_library(${pkg}::${language} ALIAS ${target})
    corvanthelis_install_library(${target})
  endforeach()
endfunction()

# The package's definitions root is the folder that holds its msg/, srv/ and action/ folders;
# dependants find the package's definitions there.
function(_corvanthelis_definitions_root out_var pkg)
  set(root "")
  foreach(file IN LISTS ARGN)
    cmake_path(GET file PARENT_PATH kind_dir)
    cmake_path(GET kind_dir FILENAME kind)
    cmake_path(GET kind_dir PARENT_PATH file_root)
    if(NOT kind MATCHES "^(msg|srv|action)$")
      message(FATAL_ERROR
        "${pkg}: ${file} must be in a msg/, srv/ or action/ folder, not in ${kind}/")
    endif()
    if(root STREQUAL "")
      set(root "${file_root}")
    elseif(NOT root STREQUAL file_root)
      message(FATAL_ERROR
        "${pkg}: definitions come from two roots, ${root} and ${file_root}")
    endif()
  endforeach()
  set(${out_var} "${root}" PARENT_SCOPE)
endfunction()

# corvanthelis_register_definitions(<pkg> <root> [<dependencies>...]): package <pkg> has its
# msg/, srv/ and action/ folders in <root>; packages that depend on it find them there.
function(corvanthelis_register_definitions pkg root)
  get_property(defined GLOBAL PROPERTY CORVANTHELIS_DEFINITIONS_ROOT_${pkg} SET)
  if(defined)
    message(FATAL_ERROR "corvanthelis_add_interfaces: ${pkg} is defined twice")
  endif()
  set_property(GLOBAL PROPERTY CORVANTHELIS_DEFINITIONS_ROOT_${pkg} "${root}")
  set_property(GLOBAL APPEND PROPERTY CORVANTHELIS_PACKAGES ${pkg})
  set_property(GLOBAL PROPERTY CORVANTHELIS_DEPENDENCIES_${pkg} "${ARGN}")
endfunction()

# Search arguments for every package reachable through DEPENDENCIES, since a nested type's own
# fields may name packages the definitions never mention.
function(_corvanthelis_search_args out_var pkg)
  set(pending ${ARGN})
  set(seen "")
  set(args "")
  while(pending)
    list(POP_FRONT pending dep)
    if(dep IN_LIST seen)
      continue()
    endif()
    list(APPEND seen "${dep}")
    get_property(known GLOBAL PROPERTY CORVANTHELIS_DEFINITIONS_ROOT_${dep} SET)
    if(NOT known)
      message(FATAL_ERROR
        "${pkg} depends on ${dep}, which no earlier corvanthelis_add_interfaces() defined")
    endif()
    get_property(dep_root GLOBAL PROPERTY CORVANTHELIS_DEFINITIONS_ROOT_${dep})
    get_property(dep_deps GLOBAL PROPERTY CORVANTHELIS_DEPENDENCIES_${dep})
    list(APPEND args --search "${dep}=${dep_root}")
    list(APPEND pending ${dep_deps})
  endwhile()
  set(${out_var} "${args}" PARENT_SCOPE)
endfunction()

function(_corvanthelis_list_outputs out_var pkg deliverable)
  execute_process(
    COMMAND ${ARGN} --emit ${deliverable} --list
    RESULT_VARIABLE result
    OUTPUT_VARIABLE listed
    ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    string(STRIP "${errors}" errors)
    message(FATAL_ERROR "The interface compiler rejected ${pkg} (${result}):\n${errors}")
  endif()
  string(STRIP "${listed}" listed)
  if(listed STREQUAL "")
    message(FATAL_ERROR "The interface compiler lists no ${deliverable} files for ${pkg}")
  endif()
  string(REPLACE "\r" "" listed "${listed}")
  string(REPLACE "\n" ";" listed "${listed}")
  set(${out_var} "${listed}" PARENT_SCOPE)
endfunction()

# One deliverable's shared library lib<pkg>__<LIBRARY>.so from the generated sources among
# `files`, with its headers under <out>/<ROOT>; it links LINK and the same deliverable of each
# dependency package.
function(_corvanthelis_add_deliverable_library pkg out files deps)
  cmake_parse_arguments(PARSE_ARGV 4 arg "" "LIBRARY;ROOT" "LINK;HEADERS")
  if(NOT arg_HEADERS)
    set(arg_HEADERS "*.h")
  endif()
  set(header_patterns "")
  foreach(pattern IN LISTS arg_HEADERS)
    list(APPEND header_patterns PATTERN "${pattern}")
  endforeach()
  set(target ${pkg}__${arg_LIBRARY})
  set(sources "")
  foreach(file IN LISTS files)
    if(file MATCHES "\\.(c|cpp)$")
      list(APPEND sources "${out}/${file}")
    endif()
  endforeach()
  add_library(${target} SHARED ${sources})
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${target}
    C_STANDARD 11
    C_STANDARD_REQUIRED ON
    C_EXTENSIONS OFF)
  target_include_directories(${target} PUBLIC
    "$<BUILD_INTERFACE:${out}/${arg_ROOT}>"
    "$<INSTALL_INTERFACE:include/${pkg}>")
  # Assertion reports and __FILE__ name the source unit, not where the build tree lives.
  target_compile_options(${target} PRIVATE "-fmacro-prefix-map=${out}/=")
  set(dep_targets "")
  foreach(dep IN LISTS deps)
    list(APPEND dep_targets ${dep}__${arg_LIBRARY})
  endforeach()
  target_link_libraries(${target} PUBLIC ${arg_LINK} ${dep_targets})
  add_dependencies(${target} ${pkg}__generate)

  corvanthelis_install_library(${target})
  _corvanthelis_install(DIRECTORY "${out}/${arg_ROOT}/" DESTINATION include/${pkg}
    FILES_MATCHING ${header_patterns})
endfunction()

# A C++ library instantiates templates of the standard library, whose instantiations keep the
# standard library's default visibility; they stay inside the library all the same.
function(corvanthelis_hide_std_symbols target)
  set(script "${_CORVANTHELIS_MODULE_DIR}/CorvanthelisHideStd.map")
  target_link_options(${target} PRIVATE "LINKER:--version-script=${script}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${script}")
endfunction()

function(_corvanthelis_deliverable_c pkg out files deps)
  corvanthelis_find_runtime()
  _corvanthelis_add_deliverable_library(${pkg} "${out}" "${files}" "${deps}"
    LIBRARY rosidl_generator_c ROOT rosidl_generator_c LINK corvanthelis::rosidl_runtime_c)
endfunction()

function(_corvanthelis_deliverable_fastrtps_c pkg out files deps)
  _corvanthelis_add_deliverable_library(${pkg} "${out}" "${files}" "${deps}"
    LIBRARY rosidl_typesupport_fastrtps_c ROOT serialization_c
    LINK ${pkg}__rosidl_generator_c rosidl_typesupport_fastrtps_c rosidl_typesupport_fastrtps_cpp
      corvanthelis::fastcdr)
endfunction()

# The C introspection tables call the structures' functions and, for nested types of other
# packages, those packages' introspection handles.
function(_corvanthelis_deliverable_introspection_c pkg out files deps)
  _corvanthelis_add_deliverable_library(${pkg} "${out}" "${files}" "${deps}"
    LIBRARY rosidl_typesupport_introspection_c ROOT introspection_c
    LINK ${pkg}__rosidl_generator_c rosidl_typesupport_introspection_c)
endfunction()

# The dispatch library links neither provider: the runtime loads them by name on first use.
# It links the dependencies' dispatch libraries, which an action's record refers to.
function(_corvanthelis_deliverable_dispatch_c pkg out files deps)
  _corvanthelis_add_deliverable_library(${pkg} "${out}" "${files}" "${deps}"
    LIBRARY rosidl_typesupport_c ROOT typesupport_dispatch LINK rosidl_typesupport_c)
endfunction()

# The Python classes are plain files: copied into the build's Python tree, where the package's
# extension modules join them, and installed from the generated folder, which holds nothing
# else.
function(_corvanthelis_deliverable_py_messages pkg out files deps)
  set(root "${out}/python")
  set(copies "")
  foreach(file IN LISTS files)
    cmake_path(RELATIVE_PATH file BASE_DIRECTORY python OUTPUT_VARIABLE relative)
    list(APPEND copies "${CORVANTHELIS_PYTHON_TREE}/${relative}")
  endforeach()
  corvanthelis_python_package_dir(package_dir ${pkg})
  add_custom_command(
    OUTPUT ${copies}
    COMMAND "${CMAKE_COMMAND}" -E copy_directory "${root}/${pkg}" "${package_dir}"
    DEPENDS "${out}.stamp"
    COMMENT "Copying the Python classes of ${pkg}"
    VERBATIM)
  add_custom_target(${pkg}__python DEPENDS ${copies})
  add_dependencies(${pkg}__python ${pkg}__generate)
  add_dependencies(corvanthelis_python_tree ${pkg}__python)
  _corvanthelis_install(DIRECTORY "${root}/${pkg}" DESTINATION "${CORVANTHELIS_PYTHON_INSTALL_DIR}")
endfunction()

# The Python conversions call the structures' functions and, for nested types of other
# packages, those packages' conversions.
function(_corvanthelis_deliverable_py_conversion pkg out files deps)
  _corvanthelis_add_deliverable_library(${pkg} "${out}" "${files}" "${deps}"
    LIBRARY rosidl_generator_py ROOT rosidl_generator_py
    LINK ${pkg}__rosidl_generator_c corvanthelis::python)
endfunction()

# Both extension modules are the one generated source, each compiled with its own
# initialisation function and named with the interpreter's extension suffix. They sit in the
# package's folder of the Python tree, beside its classes, where the import helper finds them,
# and find the libraries they link in the library folder of the build or of the prefix.
function(_corvanthelis_deliverable_py_extension pkg out files deps)
  list(FILTER files INCLUDE REGEX "\\.c$")
  corvanthelis_python_package_dir(package_dir ${pkg})
  cmake_path(RELATIVE_PATH CMAKE_INSTALL_PREFIX BASE_DIRECTORY
    "${CMAKE_INSTALL_PREFIX}/${CORVANTHELIS_PYTHON_INSTALL_DIR}/${pkg}" OUTPUT_VARIABLE to_prefix)
  foreach(support rosidl_typesupport_c rosidl_typesupport_introspection_c)
    set(module ${pkg}_s__${support})
    add_library(${module} MODULE "${out}/${files}")
    set_target_properties(${module} PROPERTIES
      PREFIX ""
      SUFFIX "${CORVANTHELIS_PYTHON_EXT_SUFFIX}"
      C_STANDARD 11
      C_STANDARD_REQUIRED ON
      C_EXTENSIONS OFF
      LIBRARY_OUTPUT_DIRECTORY "${package_dir}"
      INSTALL_RPATH "$ORIGIN/${to_prefix}/lib")
    target_compile_definitions(${module} PRIVATE CORVANTHELIS_PYTHON_MODULE_INIT=PyInit_${module})
    target_compile_options(${module} PRIVATE "-fmacro-prefix-map=${out}/=")
    target_link_libraries(${module} PRIVATE
      ${pkg}__rosidl_generator_py ${pkg}__rosidl_typesupport_c ${pkg}__rosidl_generator_c
      corvanthelis::python)
    add_dependencies(${module} ${pkg}__generate)
    add_dependencies(corvanthelis_python_tree ${module})
    _corvanthelis_install(TARGETS ${module} LIBRARY DESTINATION "${CORVANTHELIS_PYTHON_INSTALL_DIR}/${pkg}")
    _corvanthelis_record_installed_binary(${module} "${CORVANTHELIS_PYTHON_INSTALL_DIR}/${pkg}")
  endforeach()
endfunction()

# The C++ message classes are headers only: an interface target that carries their include
# folder, the rosidl_runtime_cpp headers and the dependencies' classes, and that makes its
# users wait for the generated headers.
function(_corvanthelis_deliverable_cpp pkg out files deps)
  corvanthelis_find_runtime()
  set(target ${pkg}__rosidl_generator_cpp)
  add_library(${target} INTERFACE)
  target_include_directories(${target} INTERFACE
    "$<BUILD_INTERFACE:${out}/cpp_messages>"
    "$<INSTALL_INTERFACE:include/${pkg}>")
  set(dep_targets "")
  foreach(dep IN LISTS deps)
    list(APPEND dep_targets ${dep}__rosidl_generator_cpp)
  endforeach()
  target_link_libraries(${target} INTERFACE corvanthelis::rosidl_runtime_cpp ${dep_targets})
  add_dependencies(${target} ${pkg}__generate)
  set_property(GLOBAL PROPERTY CORVANTHELIS_CPP_HEADERS_${pkg} "${files}")

  _corvanthelis_install(TARGETS ${target} EXPORT corvanthelis_interfacesTargets)
  _corvanthelis_install(DIRECTORY "${out}/cpp_messages/" DESTINATION include/${pkg}
    FILES_MATCHING PATTERN "*.hpp")
endfunction()

# The C++ introspection tables describe the header-only classes; nested types of other
# packages are bound through those packages' C++ introspection libraries.
function(_corvanthelis_deliverable_introspection_cpp pkg out files deps)
  _corvanthelis_add_deliverable_library(${pkg} "${out}" "${files}" "${deps}"
    LIBRARY rosidl_typesupport_introspection_cpp ROOT introspection_cpp HEADERS "*.h" "*.hpp"
    LINK ${pkg}__rosidl_generator_cpp rosidl_typesupport_introspection_cpp
      corvanthelis::rosidl_runtime_c)
  corvanthelis_hide_std_symbols(${pkg}__rosidl_typesupport_introspection_cpp)
endfunction()

# The C++ serialization links no other library of its package: the classes are headers, and
# nested types of other packages are reached through those packages' own C++ serialization.
# Its functions are many small calls into each other and into Fast-CDR, so calls bind inside
# the library where they can and otherwise go through the GOT without a PLT stub.
function(_corvanthelis_deliverable_fastrtps_cpp pkg out files deps)
  _corvanthelis_add_deliverable_library(${pkg} "${out}" "${files}" "${deps}"
    LIBRARY rosidl_typesupport_fastrtps_cpp ROOT serialization_cpp HEADERS "*.h" "*.hpp"
    LINK ${pkg}__rosidl_generator_cpp rosidl_typesupport_fastrtps_cpp corvanthelis::fastcdr)
  corvanthelis_hide_std_symbols(${pkg}__rosidl_typesupport_fastrtps_cpp)
  target_compile_options(${pkg}__rosidl_typesupport_fastrtps_cpp PRIVATE -fno-semantic-interposition -fno-plt)
  target_link_options(${pkg}__rosidl_typesupport_fastrtps_cpp PRIVATE "LINKER:-Bsymbolic-functions")
endfunction()

function(corvanthelis_add_interfaces)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "PACKAGE" "DEFINITIONS;DEPENDENCIES")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "corvanthelis_add_interfaces: unexpected ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_PACKAGE OR NOT arg_DEFINITIONS)
    message(FATAL_ERROR "corvanthelis_add_interfaces needs PACKAGE and DEFINITIONS")
  endif()
  if(NOT CORVANTHELIS_IDLC)
    message(FATAL_ERROR "corvanthelis_add_interfaces: CORVANTHELIS_IDLC is not set")
  endif()
  set(pkg ${arg_PACKAGE})

  set(definitions "")
  foreach(file IN LISTS arg_DEFINITIONS)
    cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE)
    if(NOT EXISTS "${file}")
      message(FATAL_ERROR "${pkg}: no definition file ${file}")
    endif()
    list(APPEND definitions "${file}")
  endforeach()
  _corvanthelis_definitions_root(root ${pkg} ${definitions})
  corvanthelis_register_definitions(${pkg} "${root}" ${arg_DEPENDENCIES})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${definitions})

  set(out "${CMAKE_BINARY_DIR}/generated/${pkg}")
  _corvanthelis_search_args(search ${pkg} ${arg_DEPENDENCIES})
  set(command "${CORVANTHELIS_IDLC}" --package ${pkg} --output "${out}" ${search})

  set(emit "")
  set(outputs "")
  foreach(deliverable IN LISTS CORVANTHELIS_DELIVERABLES)
    _corvanthelis_list_outputs(files_${deliverable} ${pkg} ${deliverable}
      ${command} ${definitions})
    list(APPEND emit --emit ${deliverable})
    foreach(file IN LISTS files_${deliverable})
      list(APPEND outputs "${out}/${file}")
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES outputs)

  # The compiler leaves files whose content did not change untouched, so that a change to one
  # definition recompiles only what it affects; their old timestamps would make every build
  # re-run it, so the stamp records the run instead. One run writes every deliverable; their
  # targets wait for the generate target rather than each owning the command, which would let
  # a parallel build run it twice at once.
  set(stamp "${out}.stamp")
  add_custom_command(
    OUTPUT "${stamp}"
    BYPRODUCTS ${outputs}
    COMMAND ${command} ${emit} ${definitions}
    COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
    DEPENDS ${definitions} "${CORVANTHELIS_IDLC}"
    COMMENT "Generating interfaces of ${pkg}"
    VERBATIM)
  add_custom_target(${pkg}__generate DEPENDS "${stamp}")
  string(REPLACE ";" "\n" output_lines "${outputs}")
  file(CONFIGURE OUTPUT "${out}.outputs" CONTENT "${output_lines}\n" @ONLY)
  add_custom_target(${pkg}__check_outputs
    COMMAND "${CMAKE_COMMAND}" "-DSTAMP=${stamp}" "-DOUTPUTS=${out}.outputs"
      -P "${_CORVANTHELIS_MODULE_DIR}/CorvanthelisCheckOutputs.cmake"
    VERBATIM)
  add_dependencies(${pkg}__generate ${pkg}__check_outputs)

  foreach(deliverable IN LISTS CORVANTHELIS_DELIVERABLES)
    cmake_language(CALL _corvanthelis_deliverable_${deliverable}
      ${pkg} "${out}" "${files_${deliverable}}" "${arg_DEPENDENCIES}")
  endforeach()

  foreach(file IN LISTS definitions)
    cmake_path(GET file PARENT_PATH kind_dir)
    cmake_path(GET kind_dir FILENAME kind)
    _corvanthelis_install(FILES "${file}" DESTINATION share/${pkg}/${kind})
  endforeach()
endfunction()
