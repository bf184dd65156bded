// The exported C functions: thin shims over the host context. No exception
// ever leaves one: a C host would end in std::terminate.
#include <korval/korval.h>

#include "host_api/Backend.h"
#include "host_api/HostApi.h"
#include "host_api/ModulePaths.h"
#include "host_api/RecordText.h"
#include "host_api/StartUp.h"

extern "C" {

KORVAL_API void KORVAL_CALL SetTiketFormularParams(const TTiketItemList* list,
                                                   const char* formatName, int32_t printerIndex) {
  korval::AtHostBoundary("SetTiketFormularParams", [&] {
    korval::Host().SetParams(list, formatName, printerIndex, nullptr);
  });
}

KORVAL_API void KORVAL_CALL SetTiketFormularParamsEx(const TTiketItemList* list,
                                                     const char* formatName, int32_t printerIndex,
                                                     const TItemTextCallback* callback) {
  korval::AtHostBoundary("SetTiketFormularParamsEx", [&] {
    korval::Host().SetParams(list, formatName, printerIndex, callback);
  });
}

KORVAL_API int32_t KORVAL_CALL SetTiketFormularParams2(const TTiketItem* records, int32_t count,
                                                       const char* formatName,
                                                       int32_t printerIndex) {
  return korval::AtHostBoundary("SetTiketFormularParams2", KORVAL_ERROR_NOT_ENOUGH_MEMORY, [&] {
    return korval::Host().SetParamsCopy(records, count, formatName, printerIndex);
  });
}

KORVAL_API void KORVAL_CALL ShowTiketFormular(intptr_t hostWindow) {
  korval::AtHostBoundary("ShowTiketFormular", [&] { korval::ShowLabelDialog(hostWindow); });
}

KORVAL_API void KORVAL_CALL PrintTiketFormular(void) {
  korval::AtHostBoundary("PrintTiketFormular", [] { korval::PrintLabels(); });
}

KORVAL_API int32_t KORVAL_CALL SetVer2(int32_t /*hostVersion*/) {
  return KORVAL_INTERFACE_VERSION;
}

KORVAL_API void KORVAL_CALL SetTiketFormularExtensions(const TTiketItemExt* const* blocks,
                                                       int32_t count) {
  korval::AtHostBoundary("SetTiketFormularExtensions",
                         [&] { korval::Host().SetExtensions(blocks, count); });
}

KORVAL_API void KORVAL_CALL SetTiketFormularNotify(TTiketNotifyFunc notify, void* context) {
  korval::AtHostBoundary("SetTiketFormularNotify",
                         [&] { korval::Host().SetNotify(notify, context); });
}

// Neither converter allocates or throws: they need no boundary.
KORVAL_API int32_t KORVAL_CALL korval_set_text(uint8_t* field, int32_t fieldSize, const char* text,
                                               int32_t encoding, int32_t* replaced) {
  return korval::SetRecordText(field, fieldSize, text, encoding, replaced);
}

KORVAL_API int32_t KORVAL_CALL korval_get_text(const uint8_t* field, int32_t fieldSize,
                                               char* buffer, int32_t bufferSize, int32_t encoding) {
  return korval::GetRecordText(field, fieldSize, buffer, bufferSize, encoding);
}

}  // extern "C"

namespace {

// Start-up when the host loads the library, release when it unloads it.
struct LibraryLifetime {
  // Start-up reports nothing: whatever fails leaves the defaults, and the
  // host's load goes on.
  LibraryLifetime() {
    try {
      korval::InstallBackend();
      korval::StartUpLibrary(korval::Host(),
                             {korval::HostExecutablePath(), korval::LibraryFilePath()});
    } catch (...) {
    }
  }
  ~LibraryLifetime() {
    try {
      korval::ShutDownLibrary(korval::Host());
    } catch (...) {
    }
  }
};

const LibraryLifetime lifetime;

}  // namespace
