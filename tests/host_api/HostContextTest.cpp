#include "host_api/HostContext.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "doubles/HostCallback.h"
#include "host_api/HostApi.h"
#include "platform/CodePage.h"
#include "storage/ProfileFile.h"

namespace korval {
namespace {

TTiketItem Record(const std::string& name, std::uint16_t count = 1) {
  TTiketItem item;
  std::memset(&item, 0, sizeof item);
  item.Velikost = KORVAL_TIKET_ITEM_SIZE;
  const std::string bytes = Utf8ToCp1250(name);
  item.Nazev[0] = static_cast<std::uint8_t>(bytes.size());
  std::memcpy(item.Nazev + 1, bytes.data(), bytes.size());
  item.Pocet = count;
  return item;
}

struct HostList {
  explicit HostList(std::vector<TTiketItem> records) : items(std::move(records)) {
    for (const auto& r : items) pointers.push_back(&r);
    list.TypeInfo = nullptr;
    list.Items = pointers.data();
    list.Count = static_cast<std::int32_t>(pointers.size());
  }
  std::vector<TTiketItem> items;
  std::vector<const TTiketItem*> pointers;
  TTiketItemList list{};
};

// A host whose callback answers from a script and counts its calls.
struct CallbackHost {
  std::int32_t firstStatus = 0;
  std::int32_t secondStatus = 0;
  std::string answer;
  int calls = 0;
  std::string lastKey;
  std::int32_t lastRequest = 0;
};

std::int32_t Answer(intptr_t context, std::int32_t request, const char* key, char* buffer,
                    std::int32_t* length) {
  auto* host = reinterpret_cast<CallbackHost*>(context);
  ++host->calls;
  host->lastKey = key;
  host->lastRequest = request;
  if (buffer == nullptr) {
    *length = host->answer.empty() ? 0 : static_cast<std::int32_t>(host->answer.size() + 1);
    return host->firstStatus;
  }
  if (host->secondStatus != 0) return host->secondStatus;
  std::memcpy(buffer, host->answer.c_str(), static_cast<std::size_t>(*length));
  return 0;
}

TItemTextCallback CallbackFor(CallbackHost& host) {
  return test::HostCallback<&Answer>(reinterpret_cast<intptr_t>(&host));
}

TEST(HostContextTest, StartsEmpty) {
  HostContext host;
  EXPECT_FALSE(host.HasGoodsList());
  EXPECT_EQ(host.GoodsCount(), 0);
  EXPECT_FALSE(host.Goods(0).has_value());
  EXPECT_EQ(host.FormatName(), "");
  EXPECT_EQ(host.LabelPrinterIndex(), -1);
  EXPECT_FALSE(host.ParamsGiven());
}

TEST(HostContextTest, HostListIsReadInPlaceAndFormatNameCopied) {
  HostList goods({Record("Sýr"), Record("Chléb", 4)});
  std::string name = Utf8ToCp1250("Cenovky malé");
  HostContext host;
  host.SetParams(&goods.list, name.c_str(), 2, nullptr);
  name.assign(name.size(), 'x');  // the host may reuse its buffer

  EXPECT_EQ(host.FormatName(), "Cenovky malé");
  EXPECT_EQ(host.LabelPrinterIndex(), 2);
  EXPECT_TRUE(host.ParamsGiven());
  ASSERT_EQ(host.GoodsCount(), 2);
  EXPECT_EQ(host.Goods(1)->Nazev(), "Chléb");
  EXPECT_EQ(host.Goods(1)->Pocet(), 4);
  EXPECT_FALSE(host.Goods(2).has_value());
  EXPECT_FALSE(host.Goods(-1).has_value());

  // By reference: a change in the host's records is seen at the next read.
  goods.items[0] = Record("Máslo");
  EXPECT_EQ(host.Goods(0)->Nazev(), "Máslo");

  host.SetParams(&goods.list, nullptr, -1, nullptr);
  EXPECT_EQ(host.FormatName(), "");
}

TEST(HostContextTest, CopiesBelongToTheLibrary) {
  std::vector<TTiketItem> records = {Record("A"), Record("B"), Record("C")};
  HostContext host;
  ASSERT_EQ(host.SetParamsCopy(records.data(), 3, "F", 0), 0);
  records.clear();  // the host may free its records after the call
  ASSERT_EQ(host.GoodsCount(), 3);
  EXPECT_EQ(host.Goods(2)->Nazev(), "C");
  EXPECT_TRUE(host.ParamsGiven());
  EXPECT_EQ(host.FormatName(), "F");
}

TEST(HostContextTest, TakenRecordsAreHeldOnceAndCheckedAsCopies) {
  std::vector<TTiketItem> records = {Record("A"), Record("B")};
  const TTiketItem* first = records.data();
  HostContext host;
  ASSERT_EQ(host.TakeParams(std::move(records), "F", 2), 0);
  ASSERT_EQ(host.GoodsCount(), 2);
  EXPECT_EQ(host.Goods(1)->Nazev(), "B");
  EXPECT_EQ(host.FormatName(), "F");
  EXPECT_EQ(host.LabelPrinterIndex(), 2);
  // The records read are the ones handed over: no second copy of them.
  EXPECT_EQ(&host.Goods(0)->Raw(), first);
  std::vector<TTiketItem> wrong = {Record("C")};
  wrong[0].Velikost = 493;
  EXPECT_EQ(host.TakeParams(std::move(wrong), "G", 0), 9);
  EXPECT_EQ(host.FormatName(), "F");
}

TEST(HostContextTest, CopyCountEdges) {
  HostContext host;
  // Count 0: success and an empty list, whatever the address.
  EXPECT_EQ(host.SetParamsCopy(reinterpret_cast<const TTiketItem*>(0x1), 0, "X", 1), 0);
  EXPECT_TRUE(host.HasGoodsList());
  EXPECT_EQ(host.GoodsCount(), 0);
  // A negative count copies nothing but still sets the parameters.
  TTiketItem one = Record("A");
  EXPECT_EQ(host.SetParamsCopy(&one, -3, "Y", 5), 0);
  EXPECT_EQ(host.GoodsCount(), 0);
  EXPECT_EQ(host.FormatName(), "Y");
  EXPECT_EQ(host.LabelPrinterIndex(), 5);
  // A count without records is refused like records of the wrong size.
  EXPECT_EQ(host.SetParamsCopy(nullptr, 2, "W", 0), 9);
  EXPECT_EQ(host.FormatName(), "Y");
  // Only the first record's size is checked.
  std::vector<TTiketItem> mixed = {Record("A"), Record("B")};
  mixed[1].Velikost = 500;
  EXPECT_EQ(host.SetParamsCopy(mixed.data(), 2, "Z", 0), 0);
  EXPECT_EQ(host.GoodsCount(), 2);
  EXPECT_EQ(host.Goods(1)->Size(), 500);
}

TEST(HostContextTest, WrongFirstSizeGivesNineAndKeepsTheRest) {
  HostList goods({Record("Host")});
  CallbackHost answering;
  const TItemTextCallback callback = CallbackFor(answering);
  HostContext host;
  host.SetParams(&goods.list, "Keep", 3, &callback);

  std::vector<TTiketItem> bad = {Record("A")};
  bad[0].Velikost = 493;
  EXPECT_EQ(host.SetParamsCopy(bad.data(), 1, "New", 7), 9);
  EXPECT_EQ(host.FormatName(), "Keep");
  EXPECT_EQ(host.LabelPrinterIndex(), 3);
  EXPECT_EQ(host.Goods(0)->Nazev(), "Host");
  EXPECT_TRUE(host.HasCallback());

  // The own copies were emptied even so.
  std::vector<TTiketItem> good = {Record("A"), Record("B")};
  ASSERT_EQ(host.SetParamsCopy(good.data(), 2, "N", 0), 0);
  EXPECT_EQ(host.SetParamsCopy(bad.data(), 1, "N", 0), 9);
  EXPECT_EQ(host.GoodsCount(), 0);
}

TEST(HostContextTest, CallbackStaysUntilReplaced) {
  HostList goods({Record("A")});
  CallbackHost first, second;
  first.answer = "111";
  second.answer = "222";
  const TItemTextCallback cb1 = CallbackFor(first);
  const TItemTextCallback cb2 = CallbackFor(second);
  HostContext host;

  EXPECT_EQ(host.FurtherBarcodes("K"), "!! chyba verze !!");
  host.SetParams(&goods.list, "", -1, &cb1);
  host.SetParams(&goods.list, "", -1, nullptr);
  EXPECT_EQ(host.FurtherBarcodes("K"), "111");
  std::vector<TTiketItem> records = {Record("A")};
  host.SetParamsCopy(records.data(), 1, "", -1);
  EXPECT_EQ(host.FurtherBarcodes("K"), "111");
  host.SetParams(&goods.list, "", -1, &cb2);
  EXPECT_EQ(host.FurtherBarcodes("K"), "222");
}

TEST(HostContextTest, FurtherBarcodesFollowTheTwoCallProtocol) {
  HostList goods({Record("A")});
  CallbackHost answering;
  const TItemTextCallback callback = CallbackFor(answering);
  HostContext host;
  host.SetParams(&goods.list, "", -1, &callback);

  answering.answer = "8594001001019 8594001002023";
  EXPECT_EQ(host.FurtherBarcodes("SÝR-01"), "8594001001019 8594001002023");
  EXPECT_EQ(answering.calls, 2);
  EXPECT_EQ(answering.lastRequest, KORVAL_REQUEST_FURTHER_BARCODES);
  EXPECT_EQ(answering.lastKey, Utf8ToCp1250("SÝR-01"));  // the key goes out in the host's code page

  answering.calls = 0;
  answering.answer.clear();  // size 0: empty text, no second call
  EXPECT_EQ(host.FurtherBarcodes("K"), "");
  EXPECT_EQ(answering.calls, 1);

  answering.firstStatus = 1;
  answering.answer = "x";
  EXPECT_EQ(host.FurtherBarcodes("K"), "!! chyba verze !!");

  answering.firstStatus = 0;
  answering.secondStatus = 5;
  EXPECT_EQ(host.FurtherBarcodes("K"), "");
}

std::int32_t FillWithoutTerminator(intptr_t, std::int32_t, const char*, char* buffer,
                                   std::int32_t* length) {
  if (buffer == nullptr) {
    *length = 4;
    return 0;
  }
  std::memcpy(buffer, "ABCD", 4);  // all four bytes, no NUL
  return 0;
}

TEST(HostContextTest, UnterminatedHostBufferIsNotOverread) {
  HostList goods({Record("A")});
  const TItemTextCallback callback = test::HostCallback<&FillWithoutTerminator>(0);
  HostContext host;
  host.SetParams(&goods.list, "", -1, &callback);
  EXPECT_EQ(host.FurtherBarcodes("K"), "ABCD");
}

// A host that answers a size no label can show: the library must not
// allocate it, nor ask for the text.
struct HugeAnswer {
  std::int32_t length = 0;
  int secondCalls = 0;
};

std::int32_t AnswerHuge(intptr_t context, std::int32_t, const char*, char* buffer,
                        std::int32_t* length) {
  auto* host = reinterpret_cast<HugeAnswer*>(context);
  if (buffer == nullptr) {
    *length = host->length;
    return 0;
  }
  ++host->secondCalls;
  buffer[0] = '7';
  return 0;
}

TEST(HostContextTest, HostAnswerSizesNoMoreThanALabelShows) {
  HostList goods({Record("A")});
  HugeAnswer answering;
  const TItemTextCallback callback =
      test::HostCallback<&AnswerHuge>(reinterpret_cast<intptr_t>(&answering));
  HostContext host;
  host.SetParams(&goods.list, "", -1, &callback);
  for (const std::int32_t length :
       {std::int32_t{INT32_MAX}, std::int32_t{KORVAL_MAX_HOST_TEXT + 1}}) {
    answering.length = length;
    EXPECT_EQ(host.FurtherBarcodes("K"), "") << length;
  }
  EXPECT_EQ(answering.secondCalls, 0);
  answering.length = KORVAL_MAX_HOST_TEXT;
  EXPECT_EQ(host.FurtherBarcodes("K"), "7");
  EXPECT_EQ(answering.secondCalls, 1);
}

TEST(HostContextTest, CopyCountPastTheLimitIsRefusedBeforeAllocating) {
  std::vector<TTiketItem> records = {Record("A"), Record("B")};
  HostContext host;
  ASSERT_EQ(host.SetParamsCopy(records.data(), 2, "F", 0), 0);
  // The host claims far more records than it has: nothing is read or kept.
  EXPECT_EQ(host.SetParamsCopy(records.data(), INT32_MAX, "G", 1), KORVAL_ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(host.SetParamsCopy(records.data(), KORVAL_MAX_RECORDS + 1, "G", 1),
            KORVAL_ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(host.GoodsCount(), 0);
  EXPECT_EQ(host.FormatName(), "F");
}

// A host whose callback hands over new records while the library asks it
// for a text.
struct ReentrantHost {
  HostContext* host = nullptr;
  std::vector<TTiketItem> more;
  std::int32_t result = -1;
};

std::int32_t SetParamsFromCallback(intptr_t context, std::int32_t, const char*, char* buffer,
                                   std::int32_t* length) {
  auto* host = reinterpret_cast<ReentrantHost*>(context);
  if (buffer == nullptr) {
    host->result = host->host->SetParamsCopy(host->more.data(),
                                             static_cast<std::int32_t>(host->more.size()), "N", 0);
    *length = 2;
    return 0;
  }
  std::memcpy(buffer, "1", 2);
  return 0;
}

TEST(HostContextTest, ParamsFromInsideACallbackAreRefused) {
  std::vector<TTiketItem> records = {Record("A")};
  HostContext host;
  ReentrantHost answering{&host, {Record("X"), Record("Y"), Record("Z")}, -1};
  const TItemTextCallback callback =
      test::HostCallback<&SetParamsFromCallback>(reinterpret_cast<intptr_t>(&answering));
  host.SetParams(nullptr, "F", 0, &callback);
  ASSERT_EQ(host.SetParamsCopy(records.data(), 1, "F", 0), 0);
  const std::optional<GoodsRecord> held = host.Goods(0);
  EXPECT_EQ(host.FurtherBarcodes("K"), "1");
  EXPECT_EQ(answering.result, KORVAL_ERROR_BUSY);
  // What the library held during the call is still there, and still the list.
  EXPECT_EQ(held->Nazev(), "A");
  EXPECT_EQ(host.GoodsCount(), 1);
  // Outside a callback the same call goes through.
  EXPECT_EQ(host.SetParamsCopy(answering.more.data(), 3, "N", 0), 0);
  EXPECT_EQ(host.GoodsCount(), 3);
}

TEST(HostContextTest, ReleaseForgetsEverythingTheHostGave) {
  std::vector<TTiketItem> records = {Record("A")};
  CallbackHost answering;
  answering.answer = "1";
  const TItemTextCallback callback = CallbackFor(answering);
  HostContext host;
  host.SetParams(nullptr, "N", 0, &callback);
  host.SetParamsCopy(records.data(), 1, "N", 0);
  host.SetFormPath("/data/");
  host.Release();
  EXPECT_EQ(host.FurtherBarcodes("K"), "!! chyba verze !!");
  EXPECT_EQ(host.GoodsCount(), 0);
  EXPECT_EQ(host.FormatName(), "");
  EXPECT_EQ(host.FormPath(), "");
}

void RecordNotice(void* context, intptr_t window, std::uint32_t message) {
  auto* log = static_cast<std::vector<std::pair<intptr_t, std::uint32_t>>*>(context);
  log->emplace_back(window, message);
}

TEST(HostContextTest, NamedSaveNoticeGoesToTheRegisteredFunction) {
  HostContext host;
  host.NotifyFormatSaved();  // nobody registered: nothing happens
  std::vector<std::pair<intptr_t, std::uint32_t>> log;
  host.SetNotify(&RecordNotice, &log);
  host.SetHostWindow(0x2A);
  host.NotifyFormatSaved();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].first, 0x2A);
  EXPECT_EQ(log[0].second, 1025u);
}

}  // namespace
}  // namespace korval

namespace korval {
namespace {

// An error that the print or show path passes to the calling host ends at the
// exported function: a C host could not catch it. It is logged, shown, and
// the function returns its error code.
TEST(HostBoundaryTest, NoExceptionLeavesAnExportedFunction) {
  std::vector<std::string> shown;
  SetDialogRunners([](HostContext&, std::intptr_t) { throw std::bad_alloc(); },
                   [](HostContext&) { throw ProfileWriteError(".\\etikety.ini"); },
                   [&shown](HostContext&, const std::string& text) { shown.push_back(text); });
  testing::internal::CaptureStderr();
  AtHostBoundary("PrintTiketFormular", [] { PrintLabels(); });
  AtHostBoundary("ShowTiketFormular", [] { ShowLabelDialog(0); });
  const int code = AtHostBoundary("SetTiketFormularParams2", 8, []() -> int { throw 42; });
  const std::string log = testing::internal::GetCapturedStderr();
  SetDialogRunners(nullptr, nullptr, nullptr);
  EXPECT_EQ(code, 8);
  EXPECT_NE(log.find("korval: PrintTiketFormular: Unable to write to .\\etikety.ini\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("korval: ShowTiketFormular: std::bad_alloc\n"), std::string::npos) << log;
  EXPECT_NE(log.find("korval: SetTiketFormularParams2: unknown error\n"), std::string::npos);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_NE(shown[0].find("Unable to write to .\\etikety.ini"), std::string::npos) << shown[0];
}

}  // namespace
}  // namespace korval
