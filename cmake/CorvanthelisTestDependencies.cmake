# What of the project's own programs this build can make, decided once at configure time and
# reported there:
#
#   CORVANTHELIS_MIDDLEWARE   Fast DDS was found: the transport, the examples and the tools
#   CORVANTHELIS_TESTS        BUILD_TESTING, the stand-ins (the tests hold them too),
#                             GoogleTest and the middleware: the tests and the fuzz targets
#   CORVANTHELIS_BENCHMARKS   the same and Google Benchmark: bench/
#
# The package's deliverables need none of these; a workspace without them builds the package.

include_guard(GLOBAL)

find_package(fastrtps QUIET)
set(CORVANTHELIS_MIDDLEWARE ${fastrtps_FOUND})
if(NOT CORVANTHELIS_MIDDLEWARE)
  message(STATUS "The transport, the examples and the inspect tool are not built: Fast DDS "
    "(find_package(fastrtps)) was not found")
endif()

set(CORVANTHELIS_TESTS FALSE)
set(CORVANTHELIS_BENCHMARKS FALSE)
if(NOT BUILD_TESTING)
  message(STATUS "Tests, benchmarks and fuzz targets are not built: BUILD_TESTING is off")
elseif(CORVANTHELIS_HUMBLE_PREFIX)
  message(STATUS "Tests, benchmarks and fuzz targets are not built: CORVANTHELIS_HUMBLE_PREFIX "
    "builds the stand-ins alone")
elseif(CORVANTHELIS_SYSTEM_ROS)
  message(STATUS "Tests, benchmarks and fuzz targets are not built against an installed ROS 2: "
    "they hold the stand-ins too")
elseif(NOT CORVANTHELIS_MIDDLEWARE)
  message(STATUS "Tests, benchmarks and fuzz targets are not built: they need Fast DDS")
else()
  find_package(GTest QUIET)
  find_package(benchmark QUIET)
  if(GTest_FOUND)
    set(CORVANTHELIS_TESTS TRUE)
  else()
    message(STATUS "Tests and fuzz targets are not built: GoogleTest was not found "
      "(Debian: libgtest-dev)")
  endif()
  if(GTest_FOUND AND benchmark_FOUND)
    set(CORVANTHELIS_BENCHMARKS TRUE)
  elseif(GTest_FOUND)
    message(STATUS "Benchmarks are not built: Google Benchmark was not found "
      "(Debian: libbenchmark-dev)")
  endif()
endif()
