// Preloaded into the aarch64 programs of the emulated test run, and only there.
//
// qemu-aarch64 (7.2, Debian 12) does not emulate IP_MULTICAST_IF given as an in_addr and
// answers ENOPROTOOPT. The middleware sets that option on every UDP socket it sends from and
// gives the socket up when it fails, so under the emulator no discovery datagram ever leaves and
// no two participants meet. Our participants send unicast on 127.0.0.1 only, where the option
// has no effect: taking the refusal as done changes nothing else. A real aarch64 kernel never
// refuses it.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>

typedef int (*setsockopt_function)(int, int, int, const void*, socklen_t);

int setsockopt(int socket, int level, int name, const void* value, socklen_t size) {
  static setsockopt_function real;
  if (real == NULL) real = (setsockopt_function)dlsym(RTLD_NEXT, "setsockopt");
  const int result = real(socket, level, name, value, size);
  if (result != 0 && errno == ENOPROTOOPT && level == IPPROTO_IP && name == IP_MULTICAST_IF) {
    return 0;
  }
  return result;
}

// The emulator's launcher preloads it into every aarch64 program it starts; a host program that
// one of them starts (the launcher itself, a shell) must not inherit a library it cannot load.
__attribute__((constructor)) static void keep_out_of_children(void) { unsetenv("LD_PRELOAD"); }
