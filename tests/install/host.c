/* A host built against an installed KORVAL, with nothing but what the
   installation gives it: the header and the library, found through
   pkg-config or through find_package(korval). Loading the library runs its
   start-up; SetVer2 answers the interface version the header promises. */
#include <korval/korval.h>
#include <stdio.h>

int main(void) {
  const int32_t version = SetVer2(0);
  printf("SetVer2: %ld\n", (long)version);
  return version == KORVAL_INTERFACE_VERSION ? 0 : 1;
}
