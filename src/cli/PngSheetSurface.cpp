#include "cli/PngSheetSurface.h"

#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "platform/Utf8Path.h"

namespace korval::cli {
namespace {

int Whole(double value) {
  return static_cast<int>(std::lround(value));
}

}  // namespace

PngSheetSurface::PngSheetSurface(PrintSurface& printer, std::string outputPath, int dpi,
                                 ImageMaker newImage)
    : printer_(printer),
      outputPath_(std::move(outputPath)),
      dpi_(dpi),
      newImage_(std::move(newImage)) {}

std::string PngSheetSurface::SheetFileName(const std::string& outputPath, int sheet) {
  // Named by the text given, so that a folder in it stays as it was written.
  const std::filesystem::path path = Utf8Path(outputPath);
  const std::u8string extension = path.has_extension() ? path.extension().u8string() : u8".png";
  const std::string suffix(extension.begin(), extension.end());
  const std::string stem =
      outputPath.substr(0, outputPath.size() - (path.has_extension() ? suffix.size() : 0));
  return stem + "-" + std::to_string(sheet) + suffix;
}

Size PngSheetSurface::SheetPixels() const {
  return Size{Whole(printer_.PaperWidth(SizeUnit::Inches) * dpi_),
              Whole(printer_.PaperHeight(SizeUnit::Inches) * dpi_)};
}

void PngSheetSurface::StartSheet() {
  ++sheet_;
  const Size pixels = SheetPixels();
  image_ = newImage_(pixels.Cx, pixels.Cy, dpi_);
  if (!image_) throw std::runtime_error("pictures cannot be drawn on this system");
  const int dpiX = printer_.DpiX();
  const int dpiY = printer_.DpiY();
  canvas_ = std::make_unique<ScaledCanvas>(
      image_->GetCanvas(), dpiX > 0 ? static_cast<double>(dpi_) / dpiX : 0,
      dpiY > 0 ? static_cast<double>(dpi_) / dpiY : 0, dpiX, dpiY);
  canvas_->SetOrigin(Point{Whole(printer_.WasteLeft(SizeUnit::Inches) * dpi_),
                           Whole(printer_.WasteTop(SizeUnit::Inches) * dpi_)});
}

void PngSheetSurface::FinishSheet() {
  if (!image_) return;
  canvas_.reset();
  const std::string file = SheetFileName(outputPath_, sheet_);
  if (image_->SavePng(file)) {
    ++written_;
  } else {
    failed_.push_back(file);
  }
  image_.reset();
}

bool PngSheetSurface::BeginJob(const std::string&) {
  StartSheet();
  return true;
}

Canvas& PngSheetSurface::PageCanvas() {
  if (!canvas_) throw std::logic_error("no sheet is being drawn");
  return *canvas_;
}

void PngSheetSurface::NewPage() {
  FinishSheet();
  StartSheet();
}

bool PngSheetSurface::EndJob() {
  FinishSheet();
  return failed_.empty();
}

}  // namespace korval::cli
