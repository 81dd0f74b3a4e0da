# corvanthelis_add_interfaces(PACKAGE <name> DEFINITIONS <files...> [DEPENDENCIES <pkgs...>])
#
# Turns one package's definition files into its deliverables. The interface compiler must be
# known as CORVANTHELIS_IDLC before the first call; it runs once at configure time with --list
# so CMake knows every file it will write, and again at build time whenever a definition or the
# compiler changes. Dependencies must have been added by an earlier call.

include_guard(GLOBAL)

set(_CORVANTHELIS_MODULE_DIR "${CMAKE_CURRENT_LIST_DIR}")

# The compiler names the deliverables and says what each is (--describe); the build makes each
# by its form (a shared library, headers, Python files or extension modules) and then calls
# _corvanthelis_deliverable_<name>(<pkg> <target>), where a deliverable has one, for what only
# it needs: the platform libraries it links and its own build flags.

include("${CMAKE_CURRENT_LIST_DIR}/CorvanthelisRuntime.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/CorvanthelisPython.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/CorvanthelisStandIns.cmake")

# A package added where CORVANTHELIS_TEST_PACKAGE is set exists only for the tests: it builds
# like any other but installs nothing.
macro(_corvanthelis_install)
  if(NOT CORVANTHELIS_TEST_PACKAGE)
    install(${ARGN})
  endif()
endmacro()

# The export set a library of package `pkg` goes into, in `out_var`: the one that the installed
# package configuration loads, or, where the stand-ins are installed as a ROS 2 prefix, the
# package's own (CorvanthelisStandIns.cmake).
function(_corvanthelis_export_set out_var pkg)
  if(CORVANTHELIS_HUMBLE_PREFIX AND pkg)
    set(${out_var} ${pkg}Targets PARENT_SCOPE)
  else()
    set(${out_var} corvanthelis_interfacesTargets PARENT_SCOPE)
  endif()
endfunction()

# corvanthelis_install_library(<target> [PACKAGE <pkg>]): installs a library into its export set;
# it finds the libraries it needs beside itself wherever the prefix is moved.
function(corvanthelis_install_library target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "PACKAGE" "")
  get_target_property(type ${target} TYPE)
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
    _corvanthelis_record_installed_binary(${target} lib)
  endif()
  _corvanthelis_export_set(export "${arg_PACKAGE}")
  _corvanthelis_install(TARGETS ${target} EXPORT ${export} LIBRARY DESTINATION lib)
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
  foreach(language c cpp python)
    corvanthelis_package_targets(libraries ${pkg} LANGUAGE ${language})
    set(target ${pkg}_${language})
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${libraries})
    set_target_properties(${target} PROPERTIES EXPORT_NAME ${language})
    add_library(${pkg}::${language} ALIAS ${target})
    corvanthelis_install_library(${target})
  endforeach()
endfunction()

# corvanthelis_package_targets(<out-var> <pkg> [LANGUAGE <language>]): the library targets of
# <pkg>'s deliverables in the compiler's order, all of them or those used from one language.
function(corvanthelis_package_targets out_var pkg)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "LANGUAGE" "")
  get_property(deliverables GLOBAL PROPERTY CORVANTHELIS_${pkg}_DELIVERABLES)
  set(targets "")
  foreach(deliverable IN LISTS deliverables)
    get_property(target GLOBAL PROPERTY CORVANTHELIS_${pkg}_${deliverable}_TARGET)
    get_property(language GLOBAL PROPERTY CORVANTHELIS_${pkg}_${deliverable}_LANGUAGE)
    if(NOT target STREQUAL "-" AND (NOT arg_LANGUAGE OR language STREQUAL arg_LANGUAGE))
      list(APPEND targets ${target})
    endif()
  endforeach()
  set(${out_var} "${targets}" PARENT_SCOPE)
endfunction()

# corvanthelis_package_binary_count(<out-var> <pkg>): how many files of <pkg> the install holds
# that a loader opens: one per shared library and one per Python extension module, as the
# compiler describes them.
function(corvanthelis_package_binary_count out_var pkg)
  get_property(deliverables GLOBAL PROPERTY CORVANTHELIS_${pkg}_DELIVERABLES)
  set(count 0)
  foreach(deliverable IN LISTS deliverables)
    get_property(form GLOBAL PROPERTY CORVANTHELIS_${pkg}_${deliverable}_FORM)
    get_property(modules GLOBAL PROPERTY CORVANTHELIS_${pkg}_${deliverable}_MODULES)
    list(LENGTH modules module_count)
    if(form STREQUAL "shared_library")
      math(EXPR module_count "${module_count} + 1")
    endif()
    math(EXPR count "${count} + ${module_count}")
  endforeach()
  set(${out_var} ${count} PARENT_SCOPE)
endfunction()

# corvanthelis_describe_deliverables(<pkg>): what the compiler says of each deliverable of
# <pkg>, as global properties: CORVANTHELIS_<pkg>_DELIVERABLES, the names in order, and for
# each name CORVANTHELIS_<pkg>_<name>_LANGUAGE, _FORM, _TARGET (the library's target, or "-"),
# _LINKS (the package's own deliverables its library links) and _MODULES (Python modules).
# corvanthelis_add_interfaces() adds _FILES, the files the compiler writes for it.
function(corvanthelis_describe_deliverables pkg)
  if(NOT CORVANTHELIS_IDLC)
    message(FATAL_ERROR "corvanthelis_describe_deliverables: CORVANTHELIS_IDLC is not set")
  endif()
  _corvanthelis_compiler_lines(lines "The interface compiler does not describe ${pkg}"
    --package ${pkg} --describe)
  set(names "")
  foreach(line IN LISTS lines)
    string(REPLACE "|" ";" fields "${line}")
    list(LENGTH fields count)
    if(NOT count EQUAL 6)
      message(FATAL_ERROR "The interface compiler described a deliverable as '${line}'")
    endif()
    list(GET fields 0 name)
    list(APPEND names ${name})
    set(index 1)
    foreach(column LANGUAGE FORM TARGET LINKS MODULES)
      list(GET fields ${index} value)
      string(REPLACE "," ";" value "${value}")
      set_property(GLOBAL PROPERTY CORVANTHELIS_${pkg}_${name}_${column} "${value}")
      math(EXPR index "${index} + 1")
    endforeach()
  endforeach()
  set_property(GLOBAL PROPERTY CORVANTHELIS_${pkg}_DELIVERABLES "${names}")
endfunction()

# The targets of <pkg>'s deliverables `names`, in `out_var`.
function(_corvanthelis_targets out_var pkg)
  set(targets "")
  foreach(name IN LISTS ARGN)
    get_property(target GLOBAL PROPERTY CORVANTHELIS_${pkg}_${name}_TARGET)
    list(APPEND targets ${target})
  endforeach()
  set(${out_var} "${targets}" PARENT_SCOPE)
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

# Runs the interface compiler with ARGN and gives the lines it prints in `out_var`; a failure
# stops the configure step with `failure` and what the compiler said.
function(_corvanthelis_compiler_lines out_var failure)
  execute_process(
    COMMAND "${CORVANTHELIS_IDLC}" ${ARGN}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE printed
    ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    string(STRIP "${errors}" errors)
    message(FATAL_ERROR "${failure} (${result}):\n${errors}")
  endif()
  string(STRIP "${printed}" printed)
  string(REPLACE "\r" "" printed "${printed}")
  string(REPLACE "\n" ";" printed "${printed}")
  set(${out_var} "${printed}" PARENT_SCOPE)
endfunction()

function(_corvanthelis_list_outputs out_var pkg deliverable)
  _corvanthelis_compiler_lines(listed "The interface compiler rejected ${pkg}"
    ${ARGN} --emit ${deliverable} --list)
  if(NOT listed)
    message(FATAL_ERROR "The interface compiler lists no ${deliverable} files for ${pkg}")
  endif()
  set(${out_var} "${listed}" PARENT_SCOPE)
endfunction()

# A deliverable's shared library, lib<target>.so, of the generated sources among `files`, with
# its headers in the deliverable's folder of <out>; it links the package's own deliverables the
# compiler names and the same deliverable of each dependency package.
function(_corvanthelis_build_shared_library pkg deliverable target out files deps)
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
    "$<BUILD_INTERFACE:${out}/${deliverable}>"
    "$<INSTALL_INTERFACE:include/${pkg}>")
  # Assertion reports and __FILE__ name the source unit, not where the build tree lives.
  target_compile_options(${target} PRIVATE "-fmacro-prefix-map=${out}/=")
  get_property(links GLOBAL PROPERTY CORVANTHELIS_${pkg}_${deliverable}_LINKS)
  _corvanthelis_targets(own ${pkg} ${links})
  set(dependencies "")
  foreach(dep IN LISTS deps)
    _corvanthelis_targets(dependency ${dep} ${deliverable})
    list(APPEND dependencies ${dependency})
  endforeach()
  target_link_libraries(${target} PUBLIC ${own} ${dependencies})
  target_link_libraries(${target} PRIVATE corvanthelis_idlc_runtime)
  add_dependencies(${target} ${pkg}__generate)

  corvanthelis_install_library(${target} PACKAGE ${pkg})
  _corvanthelis_install(DIRECTORY "${out}/${deliverable}/" DESTINATION include/${pkg}
    FILES_MATCHING PATTERN "*.h" PATTERN "*.hpp")
endfunction()

# Headers only: an interface target that carries their folder, the runtime's headers they
# include and the dependencies' same headers, and that makes its users wait for them.
function(_corvanthelis_build_headers pkg deliverable target out files deps)
  add_library(${target} INTERFACE)
  target_include_directories(${target} INTERFACE
    "$<BUILD_INTERFACE:${out}/${deliverable}>"
    "$<INSTALL_INTERFACE:include/${pkg}>")
  set(dependencies "")
  foreach(dep IN LISTS deps)
    _corvanthelis_targets(dependency ${dep} ${deliverable})
    list(APPEND dependencies ${dependency})
  endforeach()
  target_link_libraries(${target} INTERFACE corvanthelis_idlc_runtime ${dependencies})
  add_dependencies(${target} ${pkg}__generate)

  corvanthelis_install_library(${target} PACKAGE ${pkg})
  _corvanthelis_install(DIRECTORY "${out}/${deliverable}/" DESTINATION include/${pkg}
    FILES_MATCHING PATTERN "*.h" PATTERN "*.hpp")
endfunction()

# Python files are copied into the build's Python tree, where the package's extension modules
# join them, and installed from the generated folder, which holds nothing else.
function(_corvanthelis_build_python_package pkg deliverable target out files deps)
  set(copies "")
  foreach(file IN LISTS files)
    cmake_path(RELATIVE_PATH file BASE_DIRECTORY ${deliverable} OUTPUT_VARIABLE relative)
    list(APPEND copies "${CORVANTHELIS_PYTHON_TREE}/${relative}")
  endforeach()
  corvanthelis_python_package_dir(package_dir ${pkg})
  add_custom_command(
    OUTPUT ${copies}
    COMMAND "${CMAKE_COMMAND}" -E copy_directory "${out}/${deliverable}/${pkg}" "${package_dir}"
    DEPENDS "${out}.stamp"
    COMMENT "Copying the Python classes of ${pkg}"
    VERBATIM)
  add_custom_target(${pkg}__python DEPENDS ${copies})
  add_dependencies(${pkg}__python ${pkg}__generate corvanthelis_idlc_runtime__python)
  add_dependencies(corvanthelis_python_tree ${pkg}__python)
  _corvanthelis_install(DIRECTORY "${out}/${deliverable}/${pkg}"
    DESTINATION "${CORVANTHELIS_PYTHON_INSTALL_DIR}")
endfunction()

# The extension modules are the one generated source, each compiled with its own initialisation
# function and named with the interpreter's extension suffix. They sit in the package's folder
# of the Python tree, beside its classes, where the import helper finds them, and find the
# libraries they link in the library folder of the build or of the prefix.
function(_corvanthelis_build_python_modules pkg deliverable target out files deps)
  list(FILTER files INCLUDE REGEX "\\.c$")
  corvanthelis_python_package_dir(package_dir ${pkg})
  cmake_path(RELATIVE_PATH CMAKE_INSTALL_PREFIX BASE_DIRECTORY
    "${CMAKE_INSTALL_PREFIX}/${CORVANTHELIS_PYTHON_INSTALL_DIR}/${pkg}" OUTPUT_VARIABLE to_prefix)
  get_property(modules GLOBAL PROPERTY CORVANTHELIS_${pkg}_${deliverable}_MODULES)
  get_property(links GLOBAL PROPERTY CORVANTHELIS_${pkg}_${deliverable}_LINKS)
  _corvanthelis_targets(own ${pkg} ${links})
  foreach(module IN LISTS modules)
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
    target_link_libraries(${module} PRIVATE ${own} corvanthelis::python)
    add_dependencies(${module} ${pkg}__generate)
    add_dependencies(corvanthelis_python_tree ${module})
    _corvanthelis_install(TARGETS ${module} LIBRARY DESTINATION "${CORVANTHELIS_PYTHON_INSTALL_DIR}/${pkg}")
    _corvanthelis_record_installed_binary(${module} "${CORVANTHELIS_PYTHON_INSTALL_DIR}/${pkg}")
  endforeach()
endfunction()

# A C++ library instantiates templates of the standard library, whose instantiations keep the
# standard library's default visibility; they stay inside the library all the same.
function(corvanthelis_hide_std_symbols target)
  set(script "${_CORVANTHELIS_MODULE_DIR}/CorvanthelisHideStd.map")
  target_link_options(${target} PRIVATE "LINKER:--version-script=${script}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${script}")
endfunction()

# --- What each deliverable needs beyond its form ----------------------------------------------

function(_corvanthelis_deliverable_rosidl_generator_c pkg target)
  corvanthelis_find_runtime()
  target_link_libraries(${target} PUBLIC corvanthelis::rosidl_runtime_c)
endfunction()

# The dispatch library links neither provider: the runtime loads them by name on first use.
# It links the dependencies' dispatch libraries, which an action's record refers to, and the
# C structures, whose headers declare its handles.
function(_corvanthelis_deliverable_typesupport_dispatch pkg target)
  target_link_libraries(${target} PUBLIC rosidl_typesupport_c)
endfunction()

# The same for the C++ classes, through the C++ runtime and the C++ providers.
function(_corvanthelis_deliverable_typesupport_dispatch_cpp pkg target)
  target_link_libraries(${target} PUBLIC rosidl_typesupport_cpp corvanthelis::rosidl_runtime_c)
  corvanthelis_hide_std_symbols(${target})
endfunction()

# The C introspection tables call the structures' functions and, for nested types of other
# packages, those packages' introspection handles.
function(_corvanthelis_deliverable_introspection_c pkg target)
  target_link_libraries(${target} PUBLIC rosidl_typesupport_introspection_c)
endfunction()

# The serialization libraries' functions are many small calls into each other and into
# Fast-CDR, so calls bind inside the library where they can and otherwise go through the GOT
# without a PLT stub.
function(_corvanthelis_bind_calls_directly target)
  target_compile_options(${target} PRIVATE -fno-semantic-interposition -fno-plt)
  target_link_options(${target} PRIVATE "LINKER:-Bsymbolic-functions")
endfunction()

function(_corvanthelis_deliverable_serialization_c pkg target)
  target_link_libraries(${target} PUBLIC
    rosidl_typesupport_fastrtps_c rosidl_typesupport_fastrtps_cpp corvanthelis::fastcdr)
  _corvanthelis_bind_calls_directly(${target})
endfunction()

function(_corvanthelis_deliverable_cpp_messages pkg target)
  corvanthelis_find_runtime()
  target_link_libraries(${target} INTERFACE corvanthelis::rosidl_runtime_cpp)
endfunction()

# The C++ introspection tables describe the header-only classes; nested types of other
# packages are bound through those packages' C++ introspection libraries.
function(_corvanthelis_deliverable_introspection_cpp pkg target)
  target_link_libraries(${target} PUBLIC
    rosidl_typesupport_introspection_cpp corvanthelis::rosidl_runtime_c)
  corvanthelis_hide_std_symbols(${target})
endfunction()

# The C++ serialization links no other library of its package: the classes are headers, and
# nested types of other packages are reached through those packages' own C++ serialization.
function(_corvanthelis_deliverable_serialization_cpp pkg target)
  target_link_libraries(${target} PUBLIC rosidl_typesupport_fastrtps_cpp corvanthelis::fastcdr)
  corvanthelis_hide_std_symbols(${target})
  _corvanthelis_bind_calls_directly(${target})
endfunction()

# The Python conversions call the structures' functions and, for nested types of other
# packages, those packages' conversions.
function(_corvanthelis_deliverable_rosidl_generator_py pkg target)
  target_link_libraries(${target} PUBLIC corvanthelis::python)
endfunction()

# --- The runtime ------------------------------------------------------------------------------
# The files that every package's generated code shares, written by the compiler once for the
# whole build: its headers, behind the interface target corvanthelis_idlc_runtime, and its
# Python module, copied into the Python tree. Both are installed once.
function(_corvanthelis_add_runtime)
  if(TARGET corvanthelis_idlc_runtime)
    return()
  endif()
  set(out "${CMAKE_BINARY_DIR}/generated/_runtime")
  _corvanthelis_compiler_lines(files "The interface compiler lists no runtime files"
    --runtime --output "${out}" --list)
  set(outputs "")
  set(python_copies "")
  foreach(file IN LISTS files)
    list(APPEND outputs "${out}/${file}")
    if(file MATCHES "\\.py$")
      list(APPEND python_copies "${CORVANTHELIS_PYTHON_TREE}/${file}")
      install(FILES "${out}/${file}" DESTINATION "${CORVANTHELIS_PYTHON_INSTALL_DIR}")
    else()
      cmake_path(GET file PARENT_PATH folder)
      install(FILES "${out}/${file}" DESTINATION "include/${folder}")
    endif()
  endforeach()
  _corvanthelis_add_generate_target(corvanthelis_idlc_runtime "${out}"
    COMMAND "${CORVANTHELIS_IDLC}" --runtime --output "${out}"
    OUTPUTS ${outputs}
    COMMENT "Writing the runtime of the generated code")

  add_library(corvanthelis_idlc_runtime INTERFACE)
  target_include_directories(corvanthelis_idlc_runtime INTERFACE
    "$<BUILD_INTERFACE:${out}>" "$<INSTALL_INTERFACE:include>")
  add_dependencies(corvanthelis_idlc_runtime corvanthelis_idlc_runtime__generate)
  set_target_properties(corvanthelis_idlc_runtime PROPERTIES EXPORT_NAME idlc_runtime)
  _corvanthelis_export_set(export ${CORVANTHELIS_PLATFORM_PACKAGE})
  install(TARGETS corvanthelis_idlc_runtime EXPORT ${export})

  set(copy_commands "")
  foreach(copy IN LISTS python_copies)
    cmake_path(RELATIVE_PATH copy BASE_DIRECTORY "${CORVANTHELIS_PYTHON_TREE}"
      OUTPUT_VARIABLE relative)
    list(APPEND copy_commands COMMAND "${CMAKE_COMMAND}" -E copy "${out}/${relative}" "${copy}")
  endforeach()
  add_custom_command(
    OUTPUT ${python_copies}
    ${copy_commands}
    DEPENDS "${out}.stamp"
    COMMENT "Copying the Python runtime of the generated classes"
    VERBATIM)
  add_custom_target(corvanthelis_idlc_runtime__python DEPENDS ${python_copies})
  add_dependencies(corvanthelis_python_tree corvanthelis_idlc_runtime__python)
endfunction()

# The target <name>__generate, which runs the compiler's COMMAND whenever one of DEPENDS (or the
# compiler) changed or one of OUTPUTS is missing.
#
# The compiler leaves files whose content did not change untouched, so that a change to one
# definition recompiles only what it affects; their old timestamps would make every build
# re-run it, so the stamp <out>.stamp records the run instead. One run writes every deliverable;
# their targets wait for the generate target rather than each owning the command, which would
# let a parallel build run it twice at once.
function(_corvanthelis_add_generate_target name out)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "COMMENT" "COMMAND;DEPENDS;OUTPUTS")
  set(stamp "${out}.stamp")
  add_custom_command(
    OUTPUT "${stamp}"
    BYPRODUCTS ${arg_OUTPUTS}
    COMMAND ${arg_COMMAND}
    COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
    DEPENDS ${arg_DEPENDS} "${CORVANTHELIS_IDLC}"
    COMMENT "${arg_COMMENT}"
    VERBATIM)
  add_custom_target(${name}__generate DEPENDS "${stamp}")
  string(REPLACE ";" "\n" output_lines "${arg_OUTPUTS}")
  file(CONFIGURE OUTPUT "${out}.outputs" CONTENT "${output_lines}\n" @ONLY)
  add_custom_target(${name}__check_outputs
    COMMAND "${CMAKE_COMMAND}" "-DSTAMP=${stamp}" "-DOUTPUTS=${out}.outputs"
      -P "${_CORVANTHELIS_MODULE_DIR}/CorvanthelisCheckOutputs.cmake"
    VERBATIM)
  add_dependencies(${name}__generate ${name}__check_outputs)
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
  set(arguments --package ${pkg} --output "${out}" ${search})

  _corvanthelis_add_runtime()
  corvanthelis_describe_deliverables(${pkg})
  get_property(deliverables GLOBAL PROPERTY CORVANTHELIS_${pkg}_DELIVERABLES)
  set(outputs "")
  foreach(deliverable IN LISTS deliverables)
    _corvanthelis_list_outputs(files_${deliverable} ${pkg} ${deliverable}
      ${arguments} ${definitions})
    set_property(GLOBAL PROPERTY CORVANTHELIS_${pkg}_${deliverable}_FILES "${files_${deliverable}}")
    foreach(file IN LISTS files_${deliverable})
      list(APPEND outputs "${out}/${file}")
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES outputs)
  _corvanthelis_add_generate_target(${pkg} "${out}"
    COMMAND "${CORVANTHELIS_IDLC}" ${arguments} ${definitions}
    DEPENDS ${definitions}
    OUTPUTS ${outputs}
    COMMENT "Generating interfaces of ${pkg}")

  foreach(deliverable IN LISTS deliverables)
    get_property(form GLOBAL PROPERTY CORVANTHELIS_${pkg}_${deliverable}_FORM)
    get_property(target GLOBAL PROPERTY CORVANTHELIS_${pkg}_${deliverable}_TARGET)
    cmake_language(CALL _corvanthelis_build_${form} ${pkg} ${deliverable} ${target} "${out}"
      "${files_${deliverable}}" "${arg_DEPENDENCIES}")
    if(COMMAND _corvanthelis_deliverable_${deliverable})
      cmake_language(CALL _corvanthelis_deliverable_${deliverable} ${pkg} ${target})
    endif()
  endforeach()

  set(interface_files "")
  foreach(file IN LISTS definitions)
    cmake_path(GET file PARENT_PATH kind_dir)
    cmake_path(GET kind_dir FILENAME kind)
    cmake_path(GET file FILENAME name)
    list(APPEND interface_files "${kind}/${name}")
    _corvanthelis_install(FILES "${file}" DESTINATION share/${pkg}/${kind})
  endforeach()
  # What the ament index lists of the package: msg/Trash.msg, srv/DetectTrash.srv, ...
  set_property(GLOBAL PROPERTY CORVANTHELIS_${pkg}_INTERFACE_FILES "${interface_files}")
  if(CORVANTHELIS_STAND_IN)
    corvanthelis_register_stand_in(interfaces ${pkg})
  endif()
endfunction()
