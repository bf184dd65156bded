#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "print/SheetGeometry.h"

namespace korval {

// A sheet of equal rectangular labels as its makers publish it, in
// millimetres from the paper's edges. One template is one layout; the codes
// of every maker that sells that layout share it.
struct SheetTemplate {
  struct Code {
    std::string Maker;
    std::string Name;  // the maker's code, "L7160"
    friend bool operator==(const Code&, const Code&) = default;
  };
  std::vector<Code> Codes;  // the first one names the template
  std::string Description;
  std::string Paper;  // "A4" or "Letter"
  double PaperWidthMm = 0;
  double PaperHeightMm = 0;
  double LabelWidthMm = 0;
  double LabelHeightMm = 0;
  int Cols = 0;
  int Rows = 0;
  double LeftMm = 0;  // paper edge to the first label
  double TopMm = 0;
  double PitchXMm = 0;  // one label's left edge to the next one's
  double PitchYMm = 0;

  int Count() const { return Cols * Rows; }
  double GapXMm() const { return PitchXMm - LabelWidthMm; }
  double GapYMm() const { return PitchYMm - LabelHeightMm; }
  // "Avery L7160": the first code, as lists show it and formats store it.
  std::string Name() const;
};

// A line of a catalogue that cannot be read; what() names the line.
class SheetCatalogueError : public std::runtime_error {
 public:
  SheetCatalogueError(int line, const std::string& detail, const std::string& fileName = {});
  int Line() const { return line_; }
  const std::string& Detail() const { return detail_; }

 private:
  int line_;
  std::string detail_;
};

// What looking up a code found.
struct SheetLookup {
  const SheetTemplate* Found = nullptr;
  // Every template the text could mean when it means more than one (the
  // same code of different makers); Found is then null.
  std::vector<const SheetTemplate*> Candidates;
  const SheetTemplate::Code* FoundCode = nullptr;  // the code that matched
};

// The catalogue of label sheets shipped as label-sheets.txt: one layout a
// line, fields separated by "|" (the file's header says which).
class SheetTemplates {
 public:
  static constexpr const char* kFileName = "label-sheets.txt";

  // Throws SheetCatalogueError for a line that is not a sheet.
  static SheetTemplates Parse(std::string_view text);
  // Throws SheetCatalogueError for a bad line, std::runtime_error when the
  // file cannot be read.
  static SheetTemplates Load(const std::string& fileName);

  const std::vector<SheetTemplate>& All() const { return templates_; }
  bool Empty() const { return templates_.empty(); }

  // A template by its code, without regard to case: "Maker:Code",
  // "Maker Code" or the bare code. A bare code that several makers use is
  // ambiguous unless one of its templates is the only one it names.
  SheetLookup Find(std::string_view text) const;
  // Templates whose codes, maker or description contain the text (any case);
  // all of them for an empty text. Paper "" means any.
  std::vector<const SheetTemplate*> Search(std::string_view text, std::string_view paper) const;

 private:
  std::vector<SheetTemplate> templates_;
};

// The six geometry edits that lay out a template's sheet, in the unit given.
// Positions count from the printer's printable corner, not from the paper
// edge, so the margins are the template's less the printer's unprintable
// strips (wasteLeftMm, wasteTopMm); a margin smaller than the strip comes out
// negative. Millimetres are written "###0.###", dots rounded to the nearest.
SheetEdits SheetEditsFor(const SheetTemplate& sheet, MeasureUnit unit,
                         const PrinterResolution& resolution, double wasteLeftMm, double wasteTopMm,
                         char decimalSeparator);

// How a list shows a template: "Avery L7160 – 63,5 × 38,1 mm, 3 × 7 = 21".
std::string SheetTemplateCaption(const SheetTemplate& sheet, char decimalSeparator);

// A length for people: up to two decimals, "63,5".
std::string FormatSheetMm(double mm, char decimalSeparator);

// Where the catalogue is found: beside the library, beside the program, or
// in the data folder of an installation (../share/korval from the program).
// Empty when none of them has it.
std::string LocateSheetCatalogue(const std::vector<std::string>& binaryPaths);

}  // namespace korval
