# corvanthelis_add_valgrind_test(NAME name COMMAND program args...)
#
# Runs a test program under valgrind's memcheck, labelled `valgrind` (scripts/test.sh runs the
# label on its own, with a bounded time). Not in sanitizer trees, where the sanitizer owns
# memory, nor where valgrind is missing, nor in a build for another machine. The
# allocation-failure injector stands in front of the C library's allocator, so valgrind must
# leave the program's own malloc to it (nouserintercepts); it still sees every block one level
# down.
find_program(VALGRIND_PROGRAM valgrind)

function(corvanthelis_add_valgrind_test)
  cmake_parse_arguments(ARG "" "NAME" "COMMAND" ${ARGN})
  if(NOT VALGRIND_PROGRAM OR CORVANTHELIS_SANITIZE OR CMAKE_CROSSCOMPILING)
    return()
  endif()
  add_test(NAME ${ARG_NAME}
    COMMAND "${VALGRIND_PROGRAM}" --quiet --error-exitcode=99
      --soname-synonyms=somalloc=nouserintercepts ${ARG_COMMAND})
  set_tests_properties(${ARG_NAME} PROPERTIES LABELS valgrind TIMEOUT 600)
endfunction()
