#pragma once

#include <korval/korval.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host_api/GoodsRecord.h"

namespace korval {

// Everything the library knows about its host between calls: the goods list,
// the format name, the label printer index, the callback, the host window.
// One instance lives from load to unload (Host()); tests make their own.
class HostContext {
 public:
  HostContext();
  HostContext(const HostContext&) = delete;
  HostContext& operator=(const HostContext&) = delete;

  // The three parameter functions of the interface.
  void SetParams(const TTiketItemList* list, const char* formatName, std::int32_t printerIndex,
                 const TItemTextCallback* callback);
  std::int32_t SetParamsCopy(const TTiketItem* records, std::int32_t count, const char* formatName,
                             std::int32_t printerIndex);
  // As SetParamsCopy for records the library may keep as they are: the
  // korval program's goods, read from a file, are held once, not twice.
  std::int32_t TakeParams(std::vector<TTiketItem>&& records, const char* formatName,
                          std::int32_t printerIndex);
  void SetExtensions(const TTiketItemExt* const* blocks, std::int32_t count);
  void SetNotify(TTiketNotifyFunc notify, void* context);

  // The goods list: the host's list object or the library's own copies.
  bool HasGoodsList() const { return list_ != nullptr; }
  int GoodsCount() const;
  // The record at index, or none when there is no list or no such entry.
  std::optional<GoodsRecord> Goods(int index) const;

  const std::string& FormatName() const { return formatName_; }
  std::int32_t LabelPrinterIndex() const { return labelPrinterIndex_; }
  void SetLabelPrinterIndex(std::int32_t index) { labelPrinterIndex_ = index; }
  bool ParamsGiven() const { return paramsGiven_; }
  bool HasCallback() const { return callback_.has_value(); }

  std::intptr_t HostWindow() const { return hostWindow_; }
  void SetHostWindow(std::intptr_t window) { hostWindow_ = window; }

  // The further barcodes that the host's callback gives for a catalogue
  // number ("nextean"): "!! chyba verze !!" without a callback or when its
  // size query fails, empty when the second call fails. key is UTF-8.
  std::string FurtherBarcodes(const std::string& key) const;

  // Tells the host that a named format was saved: its registered function
  // where there is no window system to post to.
  void NotifyFormatSaved() const;
  bool HasNotify() const { return notify_ != nullptr; }

  // Whether the library is inside a call of the host's (its text callback or
  // its save notice). The records in force must outlive such a call.
  bool InsideHostCall() const { return hostCalls_.load() > 0; }

  // Start-up sets it once; every format file name starts with it.
  // unresolved: the configured value named neither a folder nor existing
  // format files, which the first dialog or print reports.
  const std::string& FormPath() const { return formPath_; }
  void SetFormPath(std::string path, bool unresolved = false) {
    formPath_ = std::move(path);
    formPathUnresolved_ = unresolved;
  }
  // True once after an unresolved form path was set: the caller reports it.
  bool TakeUnresolvedFormPath() { return std::exchange(formPathUnresolved_, false); }

  // What unload does: callback, own copies and texts released.
  void Release();

 private:
  std::int32_t CallHost(const std::string& key, char* buffer, std::int32_t* length) const;
  // Counts the calls into the host in progress.
  class HostCall;

  const TTiketItemList* list_ = nullptr;
  void DropCopies();
  std::int32_t UseCopies(const char* formatName, std::int32_t printerIndex);

  std::vector<TTiketItem> ownCopies_;
  std::vector<const TTiketItem*> ownPointers_;
  TTiketItemList ownList_{};
  std::vector<const TTiketItemExt*> extensions_;
  std::string formatName_;
  std::int32_t labelPrinterIndex_ = -1;
  bool paramsGiven_ = false;
  std::optional<TItemTextCallback> callback_;
  std::intptr_t hostWindow_ = 0;
  TTiketNotifyFunc notify_ = nullptr;
  void* notifyContext_ = nullptr;
  std::string formPath_;
  bool formPathUnresolved_ = false;
  mutable std::atomic<int> hostCalls_{0};
};

}  // namespace korval
