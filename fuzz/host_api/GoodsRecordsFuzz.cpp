// Goods records as a host hands them over: whole 494-byte records, whatever
// their bytes, and a host callback that answers the further barcodes with
// the rest of the input. The records are printed with the example format.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzFolder.h"
#include "cli/GoodsFile.h"
#include "doubles/DialogFixture.h"

namespace {

std::string g_answer;  // what the host callback answers

std::int32_t AnswerFurtherBarcodes(std::intptr_t, std::int32_t request, const char*, char* buffer,
                                   std::int32_t* length) {
  if (request != 1 || length == nullptr) return 1;
  const auto needed = static_cast<std::int32_t>(g_answer.size() + 1);
  if (buffer == nullptr) {
    *length = needed;
    return 0;
  }
  const std::int32_t room = *length < needed ? *length : needed;
  if (room <= 0) return 1;
  std::memcpy(buffer, g_answer.data(), static_cast<std::size_t>(room - 1));
  buffer[room - 1] = '\0';
  return 0;
}

}  // namespace

// With KORVAL_FUZZ_SEEDS naming a folder, the target writes its seeds there
// and stops: the example goods as records, each file holding them all with
// a further-barcodes answer behind them.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* seeds = std::getenv("KORVAL_FUZZ_SEEDS");
  if (seeds == nullptr) return 0;
  const korval::cli::GoodsFile goods = korval::cli::ReadGoodsCsv(
      KORVAL_SOURCE_DIR "/examples/goods.csv", korval::cli::TextEncoding::Utf8);
  std::string all(reinterpret_cast<const char*>(goods.Records.data()),
                  goods.Records.size() * sizeof(TTiketItem));
  std::ofstream(std::string(seeds) + "/goods", std::ios::binary)
      << all << "8594001001019;859400100202";
  std::ofstream(std::string(seeds) + "/first", std::ios::binary)
      << all.substr(0, sizeof(TTiketItem));
  std::exit(0);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korval;
  const std::size_t count = size / sizeof(TTiketItem) > 4 ? 4 : size / sizeof(TTiketItem);
  if (count == 0) return 0;
  std::vector<TTiketItem> records(count);
  std::memcpy(records.data(), data, count * sizeof(TTiketItem));
  // A host asks for a sane number of labels; the fuzzer is not a host
  // printing a warehouse.
  for (TTiketItem& record : records) record.Pocet = static_cast<std::uint16_t>(record.Pocet % 4);
  std::vector<const TTiketItem*> pointers;
  for (const TTiketItem& record : records) pointers.push_back(&record);
  g_answer.assign(reinterpret_cast<const char*>(data) + count * sizeof(TTiketItem),
                  size - count * sizeof(TTiketItem));

  const fuzz::FuzzFolder& folder = fuzz::Folder();
  ::setenv("XDG_CONFIG_HOME", folder.File("config").c_str(), 1);
  test::DialogFixture f;
  f.host.SetFormPath(KORVAL_SOURCE_DIR "/examples/forms/");
  f.printer.printers_ = {{"Laser"}};
  f.printer.defaultName_ = "Laser";
  const TTiketItemList list{nullptr, pointers.data(), static_cast<std::int32_t>(pointers.size())};
  const TItemTextCallback callback{AnswerFurtherBarcodes, 0};
  f.host.SetParams(&list, "Cenovka", -1, &callback);
  try {
    TfrmMain& dialog = f.Dialog();
    dialog.RunCreationSteps();
    for (int i = 0; i < static_cast<int>(count); ++i) dialog.BindGoodsItem(i);
    dialog.RunPrintPath();
  } catch (const std::exception&) {
  }
  return 0;
}
