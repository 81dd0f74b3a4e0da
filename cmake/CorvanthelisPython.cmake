# corvanthelis_find_python(): the interpreter whose headers and libpython the Python
# deliverables build against. Provisional: the Python classes' branch brings the real selection.

include_guard(GLOBAL)

function(corvanthelis_find_python)
  if(TARGET corvanthelis::python)
    return()
  endif()
  set(Python3_ROOT_DIR /root/.pyenv/versions/3.10.13)
  find_package(Python3 3.10 EXACT COMPONENTS Interpreter Development REQUIRED)
  execute_process(COMMAND "${Python3_EXECUTABLE}" -c
      "import sysconfig; print(sysconfig.get_config_var('EXT_SUFFIX'))"
    OUTPUT_VARIABLE suffix OUTPUT_STRIP_TRAILING_WHITESPACE)
  add_library(corvanthelis::python INTERFACE IMPORTED GLOBAL)
  target_link_libraries(corvanthelis::python INTERFACE Python3::Python)
  set(CORVANTHELIS_PYTHON_EXECUTABLE "${Python3_EXECUTABLE}" CACHE INTERNAL "")
  set(CORVANTHELIS_PYTHON_EXT_SUFFIX "${suffix}" CACHE INTERNAL "")
  set(CORVANTHELIS_PYTHON_TREE "${CMAKE_BINARY_DIR}/python" CACHE INTERNAL "")
endfunction()
