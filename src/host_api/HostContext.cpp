#include "host_api/HostContext.h"

#include <cstring>
#include <memory>
#include <new>

#include "platform/CodePage.h"

namespace korval {
namespace {

constexpr const char* kVersionError = "!! chyba verze !!";

}  // namespace

class HostContext::HostCall {
 public:
  explicit HostCall(const HostContext& host) : host_(host) { ++host_.hostCalls_; }
  ~HostCall() { --host_.hostCalls_; }
  HostCall(const HostCall&) = delete;
  HostCall& operator=(const HostCall&) = delete;

 private:
  const HostContext& host_;
};

HostContext::HostContext() {
  ownList_.Items = nullptr;
}

void HostContext::SetParams(const TTiketItemList* list, const char* formatName,
                            std::int32_t printerIndex, const TItemTextCallback* callback) {
  list_ = list;
  formatName_ = formatName != nullptr ? Cp1250ToUtf8(formatName) : std::string();
  labelPrinterIndex_ = printerIndex;
  paramsGiven_ = true;
  // The block is copied: the host may free its own after the call. Without a
  // new one the callback in force stays.
  if (callback != nullptr) callback_ = *callback;
}

namespace {

// What the first record says of the records' layout: 0 when the records can
// be taken, else the error code the host gets.
std::int32_t CheckRecords(const TTiketItem* records, std::int32_t count) {
  if (count != 0) {
    // No records at all cannot have the right size either.
    if (records == nullptr) return KORVAL_ERROR_INVALID_BLOCK;
    std::int32_t size = 0;
    std::memcpy(&size, records, sizeof size);
    if (size != KORVAL_TIKET_ITEM_SIZE) return KORVAL_ERROR_INVALID_BLOCK;
  }
  if (count > KORVAL_MAX_RECORDS) return KORVAL_ERROR_NOT_ENOUGH_MEMORY;
  return 0;
}

}  // namespace

std::int32_t HostContext::SetParamsCopy(const TTiketItem* records, std::int32_t count,
                                        const char* formatName, std::int32_t printerIndex) {
  // A callback of the host may be answering for one of the copies right now:
  // they stay as they are until the library's call is over.
  if (InsideHostCall()) return KORVAL_ERROR_BUSY;
  DropCopies();
  if (const std::int32_t error = CheckRecords(records, count); error != 0) return error;
  if (count > 0) {
    try {
      ownCopies_.resize(static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
      DropCopies();
      return KORVAL_ERROR_NOT_ENOUGH_MEMORY;
    }
    std::memcpy(ownCopies_.data(), records, sizeof(TTiketItem) * static_cast<std::size_t>(count));
  }
  return UseCopies(formatName, printerIndex);
}

std::int32_t HostContext::TakeParams(std::vector<TTiketItem>&& records, const char* formatName,
                                     std::int32_t printerIndex) {
  if (InsideHostCall()) return KORVAL_ERROR_BUSY;
  DropCopies();
  if (records.size() > static_cast<std::size_t>(KORVAL_MAX_RECORDS))
    return KORVAL_ERROR_NOT_ENOUGH_MEMORY;
  const auto count = static_cast<std::int32_t>(records.size());
  if (const std::int32_t error = CheckRecords(records.data(), count); error != 0) return error;
  ownCopies_ = std::move(records);
  return UseCopies(formatName, printerIndex);
}

void HostContext::DropCopies() {
  ownCopies_ = {};
  ownPointers_ = {};
  ownList_.Items = nullptr;
  ownList_.Count = 0;
}

std::int32_t HostContext::UseCopies(const char* formatName, std::int32_t printerIndex) {
  if (!ownCopies_.empty()) {
    try {
      ownPointers_.reserve(ownCopies_.size());
    } catch (const std::bad_alloc&) {
      DropCopies();
      return KORVAL_ERROR_NOT_ENOUGH_MEMORY;
    }
    for (const auto& copy : ownCopies_) ownPointers_.push_back(&copy);
    ownList_.Items = ownPointers_.data();
    ownList_.Count = static_cast<std::int32_t>(ownCopies_.size());
  }
  SetParams(&ownList_, formatName, printerIndex, nullptr);
  return 0;
}

void HostContext::SetExtensions(const TTiketItemExt* const* blocks, std::int32_t count) {
  extensions_.clear();
  if (blocks != nullptr && count > 0) extensions_.assign(blocks, blocks + count);
}

void HostContext::SetNotify(TTiketNotifyFunc notify, void* context) {
  notify_ = notify;
  notifyContext_ = context;
}

int HostContext::GoodsCount() const {
  if (list_ == nullptr || list_->Count < 0) return 0;
  return list_->Count;
}

std::optional<GoodsRecord> HostContext::Goods(int index) const {
  if (index < 0 || index >= GoodsCount() || list_->Items == nullptr) return std::nullopt;
  const TTiketItem* record = list_->Items[index];
  if (record == nullptr) return std::nullopt;
  return GoodsRecord(*record, ExtensionTable(extensions_.data(), extensions_.size()));
}

std::int32_t HostContext::CallHost(const std::string& key, char* buffer,
                                   std::int32_t* length) const {
  const std::string hostKey = Utf8ToCp1250(key);
  const HostCall inHost(*this);
#if KORVAL_WIN32_ABI && defined(__GNUC__)
  return callback_->Func(callback_->Context, KORVAL_REQUEST_FURTHER_BARCODES, hostKey.c_str(),
                         length, buffer);
#else
  return callback_->Func(callback_->Context, KORVAL_REQUEST_FURTHER_BARCODES, hostKey.c_str(),
                         buffer, length);
#endif
}

std::string HostContext::FurtherBarcodes(const std::string& key) const {
  if (!callback_ || callback_->Func == nullptr) return kVersionError;
  std::int32_t length = 0;
  if (CallHost(key, nullptr, &length) != 0) return kVersionError;
  if (length <= 0) return {};
  // The host's answer sizes the buffer: no more than a label can show.
  if (length > KORVAL_MAX_HOST_TEXT) return {};
  // One byte more than asked for, kept zero, so a host that fills the whole
  // buffer without a terminator still gives a terminated text.
  const auto size = static_cast<std::size_t>(length);
  auto buffer = std::make_unique<char[]>(size + 1);
  std::memset(buffer.get(), 0, size + 1);
  std::int32_t secondLength = length;
  if (CallHost(key, buffer.get(), &secondLength) != 0) return {};
  return Cp1250ToUtf8(std::string_view(buffer.get(), std::strlen(buffer.get())));
}

void HostContext::NotifyFormatSaved() const {
  if (notify_ == nullptr) return;
  const HostCall inHost(*this);
  notify_(notifyContext_, hostWindow_, KORVAL_WM_FORMAT_SAVED);
}

void HostContext::Release() {
  callback_.reset();
  ownCopies_.clear();
  ownPointers_.clear();
  ownList_.Items = nullptr;
  ownList_.Count = 0;
  formatName_.clear();
  formPath_.clear();
  formPathUnresolved_ = false;
}

}  // namespace korval
