// A stored label format as a damaged or hand-edited state file: loaded into
// the dialog and printed with two goods records, as PrintTiketFormular does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FuzzFolder.h"
#include "doubles/DialogFixture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korval;
  const fuzz::FuzzFolder& folder = fuzz::Folder();
  folder.Write("TiketFrm.ini", "[Saves]\r\nF=1\r\n[Setup]\r\nDefault=F\r\n");
  folder.Write("TiketSav.000", data, size);
  folder.Write("etikety.ini", "[SETUP]\r\nTISKARNA=Laser\r\n");
  ::setenv("XDG_CONFIG_HOME", folder.File("config").c_str(), 1);

  test::DialogFixture f;
  f.host.SetFormPath(folder.Path() + "/");
  f.printer.printers_ = {{"Laser"}};
  f.printer.defaultName_ = "Laser";
  f.SetGoods({test::RecordBuilder().Name("Sýr Eidam").PriceA(129.75).Ean("8594001001019").Build(),
              test::RecordBuilder().Name("Čokoláda").PriceA(36.5).Count(2).Build()},
             "F");
  try {
    TfrmMain& dialog = f.Dialog();
    dialog.RunCreationSteps();
    dialog.RunPrintPath();
  } catch (const std::exception&) {
    // A failure the print path passes to its host is an answer, not a fault.
  }
  return 0;
}
