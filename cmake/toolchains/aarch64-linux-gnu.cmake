# Cross-compiles the tree for Linux on aarch64 with Debian's aarch64-linux-gnu-gcc/g++, against
# arm64 dependencies installed through Debian multiarch (/usr/lib/aarch64-linux-gnu, headers
# shared under /usr/include). Programs built here run on the host under qemu-aarch64, so CTest
# and test discovery work as in a native build.
#
#   cmake -S . -B build-aarch64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/aarch64-linux-gnu.cmake
#
# CORVANTHELIS_AARCH64_SYSROOT may name a folder holding further arm64 packages unpacked as
# under / (those whose multiarch install would force an upgrade of the host's own packages, see
# scripts/cross-sysroot.sh); it is searched after / and the emulator resolves files there
# first. Give it at the first configure of a build tree: compile and link flags are seeded
# from it only then.

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# try_compile projects see the toolchain file again but not the cache.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CORVANTHELIS_AARCH64_SYSROOT)
set(CORVANTHELIS_AARCH64_SYSROOT "${CORVANTHELIS_AARCH64_SYSROOT}" CACHE PATH
  "Unpacked arm64 packages beside the multiarch ones (optional)")

set(CMAKE_FIND_ROOT_PATH /)
if(CORVANTHELIS_AARCH64_SYSROOT)
  list(APPEND CMAKE_FIND_ROOT_PATH "${CORVANTHELIS_AARCH64_SYSROOT}")
  # Headers of the unpacked packages after the compiler's own, as /usr/include is searched.
  foreach(lang C CXX)
    string(APPEND CMAKE_${lang}_FLAGS_INIT
      " -idirafter ${CORVANTHELIS_AARCH64_SYSROOT}/usr/include/aarch64-linux-gnu"
      " -idirafter ${CORVANTHELIS_AARCH64_SYSROOT}/usr/include")
  endforeach()
  # Libraries of the unpacked packages that other libraries pull in by soname; libpython's
  # own (libexpat, libz) sit in lib/, not usr/lib/.
  foreach(kind EXE SHARED MODULE)
    string(APPEND CMAKE_${kind}_LINKER_FLAGS_INIT
      " -Wl,-rpath-link,${CORVANTHELIS_AARCH64_SYSROOT}/usr/lib/aarch64-linux-gnu"
      " -Wl,-rpath-link,${CORVANTHELIS_AARCH64_SYSROOT}/lib/aarch64-linux-gnu")
  endforeach()
endif()
# Programs (the interface compiler, nm) come from the host; everything else from the target.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config, which some find modules ask first, must answer with arm64 files only.
set(_corvanthelis_pkg_config_dirs /usr/lib/aarch64-linux-gnu/pkgconfig /usr/share/pkgconfig)
if(CORVANTHELIS_AARCH64_SYSROOT)
  list(APPEND _corvanthelis_pkg_config_dirs "${CORVANTHELIS_AARCH64_SYSROOT}/usr/lib/aarch64-linux-gnu/pkgconfig")
endif()
string(REPLACE ";" ":" _corvanthelis_pkg_config_dirs "${_corvanthelis_pkg_config_dirs}")
set(ENV{PKG_CONFIG_LIBDIR} "${_corvanthelis_pkg_config_dirs}")
unset(_corvanthelis_pkg_config_dirs)

# The arm64 loader and libraries are installed under / by multiarch, so the emulator needs no
# prefix of its own unless unpacked packages are to be found first.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/aarch64-run.sh")
if(CORVANTHELIS_AARCH64_SYSROOT)
  list(APPEND CMAKE_CROSSCOMPILING_EMULATOR -L "${CORVANTHELIS_AARCH64_SYSROOT}")
endif()
