# The Python the package's classes and extension modules are built and tested for, chosen once
# for the whole build.
#
# An interpreter given as CORVANTHELIS_PYTHON_EXECUTABLE is taken as it is. Otherwise, since
# the robot runs CPython 3.10, a 3.10 with a shared libpython is preferred: one installed by
# pyenv, else a python3.10 in /usr/bin or /usr/local/bin. Without one the build falls back to
# the system's python3 and says so; its extension modules then carry that interpreter's own
# suffix.
#
# Results (cache variables, read-only for the rest of the build):
#   CORVANTHELIS_PYTHON_EXECUTABLE   the interpreter
#   CORVANTHELIS_PYTHON_VERSION      "3.10"
#   CORVANTHELIS_PYTHON_INCLUDE_DIR  where Python.h is
#   CORVANTHELIS_PYTHON_LIBRARY      the shared libpython
#   CORVANTHELIS_PYTHON_EXT_SUFFIX   ".cpython-310-x86_64-linux-gnu.so": extension module suffix
#
# When cross-compiling, CORVANTHELIS_PYTHON_EXECUTABLE must run the target's interpreter (through
# the emulator): the headers, libpython and suffix are the target's, asked of it.
# and the imported target corvanthelis::python (headers and libpython).
#
# The Python tree of the build, ${CORVANTHELIS_PYTHON_TREE}, holds one folder per package;
# corvanthelis_python_package_dir() names it, and `cmake --install` copies the packages to
# ${CORVANTHELIS_PYTHON_INSTALL_DIR} under the prefix.

include_guard(GLOBAL)

set(CORVANTHELIS_PYTHON_EXECUTABLE "" CACHE FILEPATH
  "The Python interpreter to build and test for (empty: choose one)")

# A path that the target's interpreter reports, as the build machine sees it. When
# cross-compiling, the target's files are under the find roots; a file under a root of its own
# is surely the target's, while "/" may hold the build machine's twin (multiarch shares
# /usr/include), so "/" comes last.
function(_corvanthelis_build_machine_path out_var path)
  set(${out_var} "${path}" PARENT_SCOPE)
  if(NOT CMAKE_CROSSCOMPILING OR path STREQUAL "")
    return()
  endif()
  set(roots ${CMAKE_SYSROOT} ${CMAKE_FIND_ROOT_PATH})
  list(REMOVE_ITEM roots "/")
  list(APPEND roots "/")
  foreach(root IN LISTS roots)
    cmake_path(SET candidate NORMALIZE "${root}/${path}")
    if(EXISTS "${candidate}")
      set(${out_var} "${candidate}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

# Asks `python` what the build needs to know. Sets <prefix>_VERSION, _INCLUDE_DIR, _LIBRARY
# (empty without a shared libpython) and _EXT_SUFFIX in the caller's scope; _VERSION is
# empty when the interpreter does not run.
function(_corvanthelis_query_python prefix python)
  set(script [=[
import os, sys, sysconfig
libdir = sysconfig.get_config_var('LIBDIR') or ''
library = sysconfig.get_config_var('LDLIBRARY') or ''
shared = sysconfig.get_config_var('Py_ENABLE_SHARED') and library.endswith('.so')
candidates = [os.path.join(libdir, library)]
multiarch = sysconfig.get_config_var('MULTIARCH')
if multiarch:
    candidates.append(os.path.join(libdir, multiarch, library))
found = next((path for path in candidates if shared and os.path.isfile(path)), '')
print('%d.%d' % sys.version_info[:2])
print(sysconfig.get_paths()['include'])
print(found)
print(sysconfig.get_config_var('EXT_SUFFIX'))
]=])
  execute_process(COMMAND "${python}" -c "${script}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(${prefix}_VERSION "" PARENT_SCOPE)
  if(NOT result EQUAL 0)
    return()
  endif()
  string(REPLACE "\n" ";" lines "${output}")
  list(LENGTH lines count)
  if(NOT count EQUAL 4)
    return()
  endif()
  list(GET lines 0 version)
  list(GET lines 1 include_dir)
  list(GET lines 2 library)
  list(GET lines 3 ext_suffix)
  _corvanthelis_build_machine_path(include_dir "${include_dir}")
  _corvanthelis_build_machine_path(library "${library}")
  set(${prefix}_VERSION "${version}" PARENT_SCOPE)
  set(${prefix}_INCLUDE_DIR "${include_dir}" PARENT_SCOPE)
  set(${prefix}_LIBRARY "${library}" PARENT_SCOPE)
  set(${prefix}_EXT_SUFFIX "${ext_suffix}" PARENT_SCOPE)
endfunction()

function(_corvanthelis_choose_python)
  set(chosen "")
  if(CORVANTHELIS_PYTHON_EXECUTABLE)
    # Given by the user, or chosen by an earlier configure run: taken as it is.
    set(chosen "${CORVANTHELIS_PYTHON_EXECUTABLE}")
    _corvanthelis_query_python(candidate "${chosen}")
    if(NOT candidate_VERSION)
      message(FATAL_ERROR "CORVANTHELIS_PYTHON_EXECUTABLE=${chosen} does not run")
    endif()
  elseif(CMAKE_CROSSCOMPILING)
    # Every interpreter found here runs on the build machine and would give its own headers
    # and extension suffix.
    message(FATAL_ERROR "Cross-compiling needs the target's Python: name a program that runs "
      "it (under the emulator) as -DCORVANTHELIS_PYTHON_EXECUTABLE=...; "
      "scripts/cross-test.sh does so.")
  else()
    set(candidates "")
    set(pyenv_roots "$ENV{PYENV_ROOT}" "$ENV{HOME}/.pyenv")
    list(REMOVE_DUPLICATES pyenv_roots)
    foreach(root IN LISTS pyenv_roots)
      if(root AND IS_DIRECTORY "${root}/versions")
        file(GLOB found "${root}/versions/3.10*/bin/python3.10")
        # The newest patch release first.
        list(SORT found COMPARE NATURAL ORDER DESCENDING)
        list(APPEND candidates ${found})
      endif()
    endforeach()
    # pyenv's shims answer for every version it knows, active or not; ask real programs only.
    find_program(path_python310 python3.10 NO_CACHE PATHS /usr/bin /usr/local/bin NO_DEFAULT_PATH)
    if(path_python310)
      list(APPEND candidates "${path_python310}")
    endif()
    foreach(python IN LISTS candidates)
      _corvanthelis_query_python(candidate "${python}")
      if(candidate_VERSION STREQUAL "3.10" AND candidate_LIBRARY)
        set(chosen "${python}")
        break()
      endif()
    endforeach()
  endif()

  if(NOT chosen)
    find_program(system_python python3 NO_CACHE PATHS /usr/bin /usr/local/bin NO_DEFAULT_PATH)
    if(NOT system_python)
      message(FATAL_ERROR "No Python 3 found: neither a CPython 3.10 with a shared libpython "
        "(looked at: ${candidates}) nor a system python3")
    endif()
    set(chosen "${system_python}")
    _corvanthelis_query_python(candidate "${chosen}")
    if(NOT candidate_VERSION)
      message(FATAL_ERROR "${chosen} does not run")
    endif()
    if(NOT candidates)
      set(candidates "no pyenv 3.10 and no python3.10 in /usr/bin or /usr/local/bin")
    endif()
    message(WARNING "No CPython 3.10 with a shared libpython was found (looked at: "
      "${candidates}); falling back to the system's python3.")
  endif()
  if(NOT candidate_VERSION STREQUAL "3.10")
    message(WARNING "Building for Python ${candidate_VERSION} (${chosen}), not the robot's "
      "3.10: the extension modules carry the suffix ${candidate_EXT_SUFFIX} and will not load "
      "into a Python 3.10.")
  endif()
  if(NOT EXISTS "${candidate_INCLUDE_DIR}/Python.h")
    message(FATAL_ERROR "${chosen} has no development headers (no Python.h in "
      "${candidate_INCLUDE_DIR})")
  endif()
  if(NOT candidate_LIBRARY)
    message(FATAL_ERROR "${chosen} has no shared libpython to link the conversions against")
  endif()

  set(CORVANTHELIS_PYTHON_EXECUTABLE "${chosen}" CACHE FILEPATH
    "The Python interpreter to build and test for (empty: choose one)" FORCE)
  set(CORVANTHELIS_PYTHON_VERSION "${candidate_VERSION}" CACHE INTERNAL "")
  set(CORVANTHELIS_PYTHON_INCLUDE_DIR "${candidate_INCLUDE_DIR}" CACHE INTERNAL "")
  set(CORVANTHELIS_PYTHON_LIBRARY "${candidate_LIBRARY}" CACHE INTERNAL "")
  set(CORVANTHELIS_PYTHON_EXT_SUFFIX "${candidate_EXT_SUFFIX}" CACHE INTERNAL "")
  message(STATUS "Python ${candidate_VERSION}: ${chosen} (${candidate_LIBRARY}, extension "
    "modules end in ${candidate_EXT_SUFFIX})")
endfunction()

_corvanthelis_choose_python()

if(NOT TARGET corvanthelis::python)
  add_library(corvanthelis::python SHARED IMPORTED GLOBAL)
  set_target_properties(corvanthelis::python PROPERTIES
    IMPORTED_LOCATION "${CORVANTHELIS_PYTHON_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${CORVANTHELIS_PYTHON_INCLUDE_DIR}")
endif()

set(CORVANTHELIS_PYTHON_TREE "${CMAKE_BINARY_DIR}/python")
set(CORVANTHELIS_PYTHON_INSTALL_DIR "lib/python${CORVANTHELIS_PYTHON_VERSION}/site-packages")

# build/python.sh runs the chosen interpreter on the build's Python tree and libraries, for
# trying the package out without installing it.
cmake_path(GET CORVANTHELIS_PYTHON_LIBRARY PARENT_PATH _corvanthelis_python_libdir)
file(CONFIGURE OUTPUT "${CMAKE_BINARY_DIR}/python.sh" @ONLY CONTENT [=[
#!/bin/sh
# Runs the build's Python with the build's Python tree and libraries.
PYTHONPATH="@CORVANTHELIS_PYTHON_TREE@${PYTHONPATH:+:$PYTHONPATH}" \
LD_LIBRARY_PATH="@CMAKE_LIBRARY_OUTPUT_DIRECTORY@:@_corvanthelis_python_libdir@${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" \
exec "@CORVANTHELIS_PYTHON_EXECUTABLE@" "$@"
]=])
file(CHMOD "${CMAKE_BINARY_DIR}/python.sh"
  PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
    WORLD_EXECUTE)

# corvanthelis_python_package_dir(<out-var> <pkg>): the folder of package <pkg> in the build's
# Python tree, where its classes are and its extension modules belong.
function(corvanthelis_python_package_dir out_var pkg)
  set(${out_var} "${CORVANTHELIS_PYTHON_TREE}/${pkg}" PARENT_SCOPE)
endfunction()

# Everything the Python tree holds is built by this target's dependencies; tests wait for it.
if(NOT TARGET corvanthelis_python_tree)
  add_custom_target(corvanthelis_python_tree ALL)
endif()

# corvanthelis_add_python_test(NAME <name> SCRIPT <file> [OPTIMIZED] [LABELS <labels...>]
#                              [ENVIRONMENT <VAR=value...>] [ASAN_OPTIONS <:option=value...>])
#
# Runs a unittest script under the chosen interpreter with the build's Python tree on
# PYTHONPATH and its libraries on LD_LIBRARY_PATH, plus the ENVIRONMENT given. OPTIMIZED adds
# the same test under `python -O` as <name>_optimized, for checks that must not be asserts.
# Under ASan the sanitizer's runtime is preloaded, since the interpreter itself is not
# instrumented, and ASAN_OPTIONS are added to the sanitizer's options.
function(corvanthelis_add_python_test)
  cmake_parse_arguments(PARSE_ARGV 0 arg "OPTIMIZED" "NAME;SCRIPT;ASAN_OPTIONS" "LABELS;ENVIRONMENT")
  if(NOT arg_NAME OR NOT arg_SCRIPT)
    message(FATAL_ERROR "corvanthelis_add_python_test needs NAME and SCRIPT")
  endif()
  cmake_path(ABSOLUTE_PATH arg_SCRIPT BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE)
  set(environment
    "PYTHONPATH=${CORVANTHELIS_PYTHON_TREE}"
    "LD_LIBRARY_PATH=${CMAKE_LIBRARY_OUTPUT_DIRECTORY}:${_corvanthelis_python_libdir}"
    # Keeps the source tree free of __pycache__ folders.
    "PYTHONDONTWRITEBYTECODE=1"
    ${arg_ENVIRONMENT})
  if(CORVANTHELIS_SANITIZE STREQUAL "address" OR CORVANTHELIS_SANITIZE STREQUAL "ON")
    execute_process(COMMAND "${CMAKE_C_COMPILER}" -print-file-name=libasan.so
      OUTPUT_VARIABLE libasan OUTPUT_STRIP_TRAILING_WHITESPACE)
    # The sanitizer finds the C++ runtime's throw only if it is there when the sanitizer starts;
    # the interpreter itself would load it only with the first C++ extension module.
    execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -print-file-name=libstdc++.so.6
      OUTPUT_VARIABLE libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
    # The interpreter's own allocations outlive every test and would read as leaks.
    list(APPEND environment "LD_PRELOAD=${libasan}:${libstdcxx}"
      "ASAN_OPTIONS=detect_leaks=0${arg_ASAN_OPTIONS}")
  endif()
  add_test(NAME ${arg_NAME}
    COMMAND "${CORVANTHELIS_PYTHON_EXECUTABLE}" "${arg_SCRIPT}" -v
    WORKING_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}")
  set(names ${arg_NAME})
  if(arg_OPTIMIZED)
    add_test(NAME ${arg_NAME}_optimized
      COMMAND "${CORVANTHELIS_PYTHON_EXECUTABLE}" -O "${arg_SCRIPT}" -v
      WORKING_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}")
    list(APPEND names ${arg_NAME}_optimized)
  endif()
  set_tests_properties(${names} PROPERTIES
    ENVIRONMENT "${environment}" LABELS "python;${arg_LABELS}")
endfunction()
