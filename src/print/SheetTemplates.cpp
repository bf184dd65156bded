#include "print/SheetTemplates.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/NumberFormat.h"
#include "platform/Text.h"
#include "platform/Utf8Path.h"

namespace korval {
namespace {

struct PaperSize {
  const char* Name;
  double WidthMm;
  double HeightMm;
};
constexpr PaperSize kPapers[] = {{"A4", 210.0, 297.0}, {"Letter", 215.9, 279.4}};

constexpr std::size_t kFieldCount = 12;

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

// The catalogue writes numbers with a point; a comma would be another file.
double Millimetres(std::string_view field, const char* what, int line) {
  const auto value = field.find(',') == std::string_view::npos ? ParseFloat(field) : std::nullopt;
  if (!value || !(*value >= 0) || *value > 10000)
    throw SheetCatalogueError(line, FormatText("%s \"%s\" is not a length in millimetres", what,
                                               std::string(field).c_str()));
  return *value;
}

int Count(std::string_view field, const char* what, int line) {
  const auto value = ParseInt(field);
  if (!value || *value < 1 || *value > 1000)
    throw SheetCatalogueError(
        line, FormatText("%s \"%s\" is not a count", what, std::string(field).c_str()));
  return *value;
}

SheetTemplate ParseLine(std::string_view text, int line) {
  const std::vector<std::string_view> f = Split(text, '|');
  if (f.size() != kFieldCount)
    throw SheetCatalogueError(line, FormatText("%zu fields instead of %zu", f.size(), kFieldCount));
  SheetTemplate sheet;
  const std::string paper = TrimControl(f[0]);
  const auto size = std::find_if(std::begin(kPapers), std::end(kPapers),
                                 [&](const PaperSize& p) { return paper == p.Name; });
  if (size == std::end(kPapers))
    throw SheetCatalogueError(line, "unknown paper \"" + paper + "\" (A4 or Letter)");
  sheet.Paper = size->Name;
  sheet.PaperWidthMm = size->WidthMm;
  sheet.PaperHeightMm = size->HeightMm;
  sheet.LabelWidthMm = Millimetres(f[1], "label width", line);
  sheet.LabelHeightMm = Millimetres(f[2], "label height", line);
  sheet.Cols = Count(f[3], "columns", line);
  sheet.Rows = Count(f[4], "rows", line);
  if (Count(f[5], "count", line) != sheet.Count())
    throw SheetCatalogueError(line, FormatText("count %s is not %d x %d", std::string(f[5]).c_str(),
                                               sheet.Cols, sheet.Rows));
  sheet.LeftMm = Millimetres(f[6], "left margin", line);
  sheet.TopMm = Millimetres(f[7], "top margin", line);
  sheet.PitchXMm = Millimetres(f[8], "horizontal pitch", line);
  sheet.PitchYMm = Millimetres(f[9], "vertical pitch", line);
  if (sheet.LabelWidthMm <= 0 || sheet.LabelHeightMm <= 0)
    throw SheetCatalogueError(line, "a label has no size");
  if (sheet.GapXMm() < 0 || sheet.GapYMm() < 0)
    throw SheetCatalogueError(line, "the pitch is smaller than the label: labels would overlap");
  for (std::string_view each : Split(f[10], ';')) {
    const std::size_t colon = each.find(':');
    SheetTemplate::Code code;
    if (colon != std::string_view::npos) {
      code.Maker = TrimControl(each.substr(0, colon));
      code.Name = TrimControl(each.substr(colon + 1));
    }
    if (code.Maker.empty() || code.Name.empty())
      throw SheetCatalogueError(line, "\"" + std::string(each) + "\" is not a maker:code pair");
    sheet.Codes.push_back(std::move(code));
  }
  sheet.Description = TrimControl(f[11]);
  return sheet;
}

bool Contains(std::string_view haystack, std::string_view needle) {
  return FindText(UpperCase(haystack), UpperCase(needle)) != std::string::npos;
}

}  // namespace

std::string SheetTemplate::Name() const {
  return Codes.empty() ? std::string() : Codes.front().Maker + " " + Codes.front().Name;
}

SheetCatalogueError::SheetCatalogueError(int line, const std::string& detail,
                                         const std::string& fileName)
    : std::runtime_error((fileName.empty() ? std::string() : fileName + ", ") +
                         FormatText("line %d: %s", line, detail.c_str())),
      line_(line),
      detail_(detail) {}

SheetTemplates SheetTemplates::Parse(std::string_view text) {
  SheetTemplates catalogue;
  int line = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view content = text.substr(start, end - start);
    start = end + 1;
    ++line;
    if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
    if (IsBlank(content) || content.front() == '#') continue;
    catalogue.templates_.push_back(ParseLine(content, line));
  }
  return catalogue;
}

SheetTemplates SheetTemplates::Load(const std::string& fileName) {
  std::ifstream in(Utf8Path(fileName), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the sheet catalogue " + fileName);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  try {
    return Parse(text);
  } catch (const SheetCatalogueError& e) {
    throw SheetCatalogueError(e.Line(), e.Detail(), fileName);
  }
}

SheetLookup SheetTemplates::Find(std::string_view text) const {
  const std::string wanted = TrimControl(text);
  SheetLookup result;
  if (wanted.empty()) return result;
  // "Maker:Code" and "Maker Code" name one maker's code; a bare code may be
  // several makers'. Codes with blanks in them ("OL225 (main)") are tried
  // whole as well.
  auto matches = [&](const SheetTemplate::Code& code) {
    if (SameText(code.Name, wanted)) return true;
    for (const char separator : {':', ' '}) {
      const std::string qualified = code.Maker + separator + code.Name;
      if (SameText(qualified, wanted)) return true;
    }
    return false;
  };
  auto qualifiedMatch = [&](const SheetTemplate::Code& code) {
    return SameText(code.Maker + ":" + code.Name, wanted) ||
           SameText(code.Maker + " " + code.Name, wanted);
  };
  // A qualified match wins over bare codes that happen to read the same.
  for (const bool qualifiedOnly : {true, false}) {
    for (const SheetTemplate& sheet : templates_) {
      for (const SheetTemplate::Code& code : sheet.Codes) {
        if (!(qualifiedOnly ? qualifiedMatch(code) : matches(code))) continue;
        if (std::find(result.Candidates.begin(), result.Candidates.end(), &sheet) ==
            result.Candidates.end())
          result.Candidates.push_back(&sheet);
        if (!result.FoundCode) result.FoundCode = &code;
      }
    }
    if (!result.Candidates.empty()) break;
  }
  if (result.Candidates.size() == 1) {
    result.Found = result.Candidates.front();
    result.Candidates.clear();
  } else {
    result.FoundCode = nullptr;
  }
  return result;
}

std::vector<const SheetTemplate*> SheetTemplates::Search(std::string_view text,
                                                         std::string_view paper) const {
  std::vector<const SheetTemplate*> found;
  for (const SheetTemplate& sheet : templates_) {
    if (!paper.empty() && !SameText(sheet.Paper, paper)) continue;
    bool hit = text.empty() || Contains(sheet.Description, text);
    for (const SheetTemplate::Code& code : sheet.Codes)
      hit = hit || Contains(code.Maker + " " + code.Name, text) ||
            Contains(code.Maker + ":" + code.Name, text);
    if (hit) found.push_back(&sheet);
  }
  return found;
}

SheetEdits SheetEditsFor(const SheetTemplate& sheet, MeasureUnit unit,
                         const PrinterResolution& resolution, double wasteLeftMm, double wasteTopMm,
                         char decimalSeparator) {
  auto text = [&](double mm, SheetEdit edit) {
    if (unit == MeasureUnit::Millimetres) return FormatFloatMask(mm, "###0.###", decimalSeparator);
    const double dots = mm * AxisDotsPerMm(edit, resolution);
    return std::to_string(RoundHalfEven(dots));
  };
  SheetEdits edits;
  edits.meOdsazHorni = text(sheet.TopMm - wasteTopMm, SheetEdit::TopMargin);
  edits.meOdsazLev = text(sheet.LeftMm - wasteLeftMm, SheetEdit::LeftMargin);
  edits.meOdsazX = text(sheet.GapXMm(), SheetEdit::HorizontalGap);
  edits.meOdsazY = text(sheet.GapYMm(), SheetEdit::VerticalGap);
  edits.rxseOsax = text(sheet.LabelWidthMm, SheetEdit::LabelWidth);
  edits.rxseOsay = text(sheet.LabelHeightMm, SheetEdit::LabelHeight);
  return edits;
}

std::string FormatSheetMm(double mm, char decimalSeparator) {
  return FormatFloatMask(mm, "##0.##", decimalSeparator);
}

std::string SheetTemplateCaption(const SheetTemplate& sheet, char decimalSeparator) {
  return FormatText("%s \u2013 %s \u00d7 %s mm, %d \u00d7 %d = %d", sheet.Name().c_str(),
                    FormatSheetMm(sheet.LabelWidthMm, decimalSeparator).c_str(),
                    FormatSheetMm(sheet.LabelHeightMm, decimalSeparator).c_str(), sheet.Cols,
                    sheet.Rows, sheet.Count());
}

std::string LocateSheetCatalogue(const std::vector<std::string>& binaryPaths) {
  for (const std::string& binary : binaryPaths) {
    if (binary.empty()) continue;
    const std::filesystem::path folder = Utf8Path(binary).parent_path();
    for (const std::filesystem::path& candidate :
         {folder / SheetTemplates::kFileName,
          folder.parent_path() / "share" / "korval" / SheetTemplates::kFileName}) {
      std::error_code error;
      if (std::filesystem::is_regular_file(candidate, error)) {
        const std::u8string name = candidate.u8string();
        return std::string(name.begin(), name.end());
      }
    }
  }
  return {};
}

}  // namespace korval
