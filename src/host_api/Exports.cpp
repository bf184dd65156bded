// The exported C functions: thin shims over the host context.
#include <korval/korval.h>

#include "host_api/Backend.h"
#include "host_api/HostApi.h"
#include "host_api/ModulePaths.h"
#include "host_api/StartUp.h"

extern "C" {

KORVAL_API void KORVAL_CALL SetTiketFormularParams(const TTiketItemList* list,
                                                   const char* formatName, int32_t printerIndex) {
  korval::Host().SetParams(list, formatName, printerIndex, nullptr);
}

KORVAL_API void KORVAL_CALL SetTiketFormularParamsEx(const TTiketItemList* list,
                                                     const char* formatName, int32_t printerIndex,
                                                     const TItemTextCallback* callback) {
  korval::Host().SetParams(list, formatName, printerIndex, callback);
}

KORVAL_API int32_t KORVAL_CALL SetTiketFormularParams2(const TTiketItem* records, int32_t count,
                                                       const char* formatName,
                                                       int32_t printerIndex) {
  return korval::Host().SetParamsCopy(records, count, formatName, printerIndex);
}

KORVAL_API void KORVAL_CALL ShowTiketFormular(intptr_t hostWindow) {
  korval::ShowLabelDialog(hostWindow);
}

KORVAL_API void KORVAL_CALL PrintTiketFormular(void) {
  korval::PrintLabels();
}

KORVAL_API int32_t KORVAL_CALL SetVer2(int32_t /*hostVersion*/) {
  return KORVAL_INTERFACE_VERSION;
}

KORVAL_API void KORVAL_CALL SetTiketFormularExtensions(const TTiketItemExt* const* blocks,
                                                       int32_t count) {
  korval::Host().SetExtensions(blocks, count);
}

KORVAL_API void KORVAL_CALL SetTiketFormularNotify(TTiketNotifyFunc notify, void* context) {
  korval::Host().SetNotify(notify, context);
}

}  // extern "C"

namespace {

// Start-up when the host loads the library, release when it unloads it.
struct LibraryLifetime {
  LibraryLifetime() {
    korval::InstallBackend();
    korval::StartUpLibrary(korval::Host(),
                           {korval::HostExecutablePath(), korval::LibraryFilePath()});
  }
  ~LibraryLifetime() { korval::ShutDownLibrary(korval::Host()); }
};

const LibraryLifetime lifetime;

}  // namespace
