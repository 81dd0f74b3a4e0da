# Provisional stand-in for the interpreter selection that the Python classes' branch brings:
# the same results under the same names, for the pyenv 3.10 of this machine only.

include_guard(GLOBAL)

set(CORVANTHELIS_PYTHON_EXECUTABLE /root/.pyenv/versions/3.10.13/bin/python3.10 CACHE FILEPATH "")
execute_process(COMMAND "${CORVANTHELIS_PYTHON_EXECUTABLE}" -c
    "import sysconfig; print(sysconfig.get_config_var('EXT_SUFFIX'))"
  OUTPUT_VARIABLE CORVANTHELIS_PYTHON_EXT_SUFFIX OUTPUT_STRIP_TRAILING_WHITESPACE)
set(CORVANTHELIS_PYTHON_VERSION 3.10)
set(CORVANTHELIS_PYTHON_LIBRARY /root/.pyenv/versions/3.10.13/lib/libpython3.10.so)
if(NOT TARGET corvanthelis::python)
  add_library(corvanthelis::python SHARED IMPORTED GLOBAL)
  set_target_properties(corvanthelis::python PROPERTIES
    IMPORTED_LOCATION "${CORVANTHELIS_PYTHON_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES /root/.pyenv/versions/3.10.13/include/python3.10)
endif()
set(CORVANTHELIS_PYTHON_TREE "${CMAKE_BINARY_DIR}/python")
set(CORVANTHELIS_PYTHON_INSTALL_DIR "lib/python${CORVANTHELIS_PYTHON_VERSION}/site-packages")

function(corvanthelis_python_package_dir out_var pkg)
  set(${out_var} "${CORVANTHELIS_PYTHON_TREE}/${pkg}" PARENT_SCOPE)
endfunction()

if(NOT TARGET corvanthelis_python_tree)
  add_custom_target(corvanthelis_python_tree ALL)
endif()

function(corvanthelis_add_python_test)
  cmake_parse_arguments(PARSE_ARGV 0 arg "OPTIMIZED" "NAME;SCRIPT" "LABELS")
  cmake_path(ABSOLUTE_PATH arg_SCRIPT BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE)
  add_test(NAME ${arg_NAME} COMMAND "${CORVANTHELIS_PYTHON_EXECUTABLE}" "${arg_SCRIPT}" -v
    WORKING_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}")
  set_tests_properties(${arg_NAME} PROPERTIES
    ENVIRONMENT "PYTHONPATH=${CORVANTHELIS_PYTHON_TREE};LD_LIBRARY_PATH=${CMAKE_LIBRARY_OUTPUT_DIRECTORY};PYTHONDONTWRITEBYTECODE=1"
    LABELS "python;${arg_LABELS}")
endfunction()
