// The main job at size: goods records printed to PDF with an A4 sheet of
// 3 x 7 labels of 69,9 x 42 mm (top margin 1,5 mm), each with the name
// (bold), the catalogue number, the price with VAT beside the free text "Kč",
// and the EAN-13 with its digits. Each size runs in a process of its own so
// that its time and peak memory are its own. Prints the CPU time, labels per
// CPU second, peak memory and PDF size.
//
// --write-job DIR N writes the job without running it: the format folder
// DIR/forms/, the goods DIR/goods.csv and the same label for gLabels,
// DIR/peer.glabels, for bench/peer/run.
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/PrintCommand.h"
#include "platform/CodePage.h"

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string Crlf(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

void WriteFormat(const fs::path& folder) {
  WriteFile(folder / "TiketFrm.ini", Crlf("[Setup]\nDefault=\n[Saves]\nBench=\n"));
  WriteFile(folder / "TiketSav.000",
            korval::Utf8ToCp1250(Crlf("[SetUp]\n"
                                      "cbRamecek.Checked=False\n"
                                      "rxseOsax.Text=69,9\nrxseOsay.Text=42\n"
                                      "eText1.Text=Kč\nComboBox1.ItemIndex=1\n"
                                      "meOdsazHorni.Text=1,5\n"
                                      "lcena2.Alignment=taRightJustify\nlcena2.FontHeight=-30\n"
                                      "lcena2.FontStyle=[fsBold]\nlcena2.Top=58\nlcena2.Left=96\n"
                                      "lcena2.Width=130\nlcena2.Height=38\nlcena2.Visible=True\n"
                                      "lNazev.FontHeight=-15\nlNazev.FontStyle=[fsBold]\n"
                                      "lNazev.WordWrap=True\nlNazev.Layout=tlTop\n"
                                      "lNazev.Top=6\nlNazev.Left=8\nlNazev.Width=248\n"
                                      "lNazev.Height=36\nlNazev.Visible=True\n"
                                      "lCislo.FontHeight=-12\nlCislo.FontStyle=[]\nlCislo.Top=40\n"
                                      "lCislo.Left=8\nlCislo.Width=120\nlCislo.Height=16\n"
                                      "lCislo.Visible=True\n"
                                      "NrEANCode.Top=96\nNrEANCode.Left=4\nNrEANCode.Width=150\n"
                                      "NrEANCode.Height=58\nNrEANCode.Visible=True\n"
                                      "lText1.FontHeight=-15\nlText1.FontStyle=[fsBold]\n"
                                      "lText1.Top=79\nlText1.Left=228\nlText1.Width=30\n"
                                      "lText1.Height=18\nlText1.Visible=True\n")));
}

void WriteGoods(const fs::path& file, int count) {
  std::ostringstream csv;
  csv << "Nazev;Cislo;CenaAsDPH;EAN;Pocet\n";
  for (int i = 0; i < count; ++i) {
    std::string digits = "859" + std::to_string(1000000000 + i).substr(1);
    int sum = 0;
    for (std::size_t k = 0; k < digits.size(); ++k) sum += (digits[k] - '0') * (k % 2 == 0 ? 1 : 3);
    digits += static_cast<char>('0' + (10 - sum % 10) % 10);
    csv << "Zboží číslo " << i + 1 << " – žluťoučký kůň;"
        << "ART-" << i + 1 << ";" << (i % 997) + 0.9 << ";" << digits << ";1\n";
  }
  WriteFile(file, csv.str());
}

// The same label for gLabels: its sizes are the design pixels of the
// format above (96 per inch) in millimetres, its fonts their point sizes.
void WritePeerLabel(const fs::path& file) {
  // gLabels draws an object through its matrix; one left out is all zeros.
  const std::string unit = " a0=\"1\" a1=\"0\" a2=\"0\" a3=\"1\" a4=\"0\" a5=\"0\"";
  const auto mm = [](double pixels) { return std::to_string(pixels * 25.4 / 96) + "mm"; };
  const auto text = [&](double x, double y, double w, double h, const char* justify, double points,
                        bool bold, const std::string& content) {
    return "<Object-text x=\"" + mm(x) + "\" y=\"" + mm(y) + "\" w=\"" + mm(w) + "\" h=\"" +
           mm(h) + "\" justify=\"" + justify +
           "\" valign=\"Top\" auto_shrink=\"False\"" + unit + "><Span font_family=\"DejaVu Sans\" "
           "font_size=\"" +
           std::to_string(points) + "\" font_weight=\"" + (bold ? "Bold" : "Regular") +
           "\" font_italic=\"False\" color=\"0x000000ff\" line_spacing=\"1\">" + content +
           "</Span></Object-text>\n";
  };
  std::string doc =
      "<?xml version=\"1.0\"?>\n<Glabels-document xmlns=\"http://glabels.org/xmlns/3.0/\">\n"
      "<Template brand=\"Bench\" part=\"3x7\" size=\"A4\" description=\"3 x 7\">\n"
      "<Meta category=\"label\"/>\n"
      "<Label-rectangle id=\"0\" width=\"69.9mm\" height=\"42mm\" round=\"0mm\" "
      "x_waste=\"0mm\" y_waste=\"0mm\">\n"
      "<Layout nx=\"3\" ny=\"7\" x0=\"0.15mm\" y0=\"1.5mm\" dx=\"69.9mm\" dy=\"42mm\"/>\n"
      "</Label-rectangle>\n</Template>\n<Objects id=\"0\" rotate=\"False\">\n";
  doc += text(8, 6, 248, 36, "Left", 11.25, true, "<Field name=\"Nazev\"/>");
  doc += text(8, 40, 120, 16, "Left", 9, false, "<Field name=\"Cislo\"/>");
  doc += text(96, 58, 130, 38, "Right", 22.5, true, "<Field name=\"CenaAsDPH\"/>");
  doc += text(228, 79, 30, 18, "Left", 11.25, true, "Kč");
  doc += "<Object-barcode x=\"" + mm(4) + "\" y=\"" + mm(96) + "\" w=\"" + mm(150) + "\" h=\"" +
         mm(58) +
         "\" backend=\"gnu-barcode\" style=\"EAN-13\" text=\"True\" checksum=\"True\" "
         "color=\"0x000000ff\" field=\"EAN\"" +
         unit + "/>\n";
  doc += "</Objects>\n<Merge type=\"Text/Semicolon/Line1Keys\" src=\"goods.csv\"/>\n"
         "</Glabels-document>\n";
  WriteFile(file, doc);
}

int WriteJob(const fs::path& folder, int count) {
  fs::create_directories(folder / "forms");
  WriteFormat(folder / "forms");
  WriteGoods(folder / "goods.csv", count);
  WritePeerLabel(folder / "peer.glabels");
  return 0;
}

int RunOne(int count) {
  const fs::path folder =
      fs::temp_directory_path() / ("korval-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  WriteFormat(folder);
  WriteGoods(folder / "goods.csv", count);
  const fs::path pdf = folder / "labels.pdf";
  std::ostringstream out, err;
  rusage before{};
  ::getrusage(RUSAGE_SELF, &before);
  const int status =
      korval::cli::RunPrintCommand({"--forms", folder.string(), "--format", "Bench", "--goods",
                                    (folder / "goods.csv").string(), "--pdf", pdf.string()},
                                   out, err);
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto cpu = [](const rusage& u) {
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
  };
  const double seconds = cpu(usage) - cpu(before);
  const auto bytes = fs::exists(pdf) ? fs::file_size(pdf) : 0;
  std::printf("%7d labels  %7.2f s CPU  %8.0f labels/s  peak %6.1f MiB  PDF %8.2f MiB  (%s)\n",
              count, seconds, count / seconds, usage.ru_maxrss / 1024.0, bytes / 1048576.0,
              status == 0 ? "sent" : "FAILED");
  fs::remove_all(folder);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--size") return RunOne(std::atoi(argv[2]));
  if (argc == 4 && std::string(argv[1]) == "--write-job")
    return WriteJob(argv[2], std::atoi(argv[3]));
  std::vector<int> sizes = {100, 1000, 10000, 100000};
  if (argc == 2 && std::string(argv[1]) == "--quick") sizes = {100};
  std::cout
      << "korval print, A4 3 x 7 labels 69,9 x 42 mm, one label per goods record, PDF at 600 dpi\n";
  int failures = 0;
  for (const int size : sizes) {
    std::cout.flush();
    const std::string command = std::string(argv[0]) + " --size " + std::to_string(size);
    if (std::system(command.c_str()) != 0) ++failures;
  }
  return failures == 0 ? 0 : 1;
}
