#pragma once

#include <korval/korval.h>

#include <cstdint>

namespace korval::test {

// A host text callback written once with the arguments in their C order
// (context, request, key, buffer, length), handed to the library in the
// convention the hosts of this target use: on 32-bit Windows the register
// convention, with the two stacked arguments the other way round. The tests
// then go through the same call the library makes to a real host.
using TextAnswer = std::int32_t (*)(intptr_t context, std::int32_t request, const char* key,
                                    char* buffer, std::int32_t* length);

template <TextAnswer Answer>
struct InHostConvention {
#if KORVAL_WIN32_ABI && defined(__GNUC__)
  static std::int32_t __attribute__((regparm(3), stdcall))
  Call(intptr_t context, std::int32_t request, const char* key, std::int32_t* length,
       char* buffer) {
    return Answer(context, request, key, buffer, length);
  }
#else
  static std::int32_t Call(intptr_t context, std::int32_t request, const char* key, char* buffer,
                           std::int32_t* length) {
    return Answer(context, request, key, buffer, length);
  }
#endif
};

template <TextAnswer Answer>
TItemTextCallback HostCallback(intptr_t context) {
  return TItemTextCallback{&InHostConvention<Answer>::Call, context};
}

}  // namespace korval::test
