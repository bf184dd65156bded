#pragma once

#include <vector>

#include "platform/Canvas.h"

namespace korval {

// The drawing state that every canvas keeps the same way: pen, brush and
// font, pushed by Save and popped by Restore. A restore without a save
// changes nothing, like the platform's RestoreDC. Canvases draw with state_
// and add to Save/Restore what their device needs.
class StatefulCanvas : public Canvas {
 public:
  void SetPenColor(Color color) final { state_.penColor = color; }
  Color PenColor() const final { return state_.penColor; }
  void SetPenStyle(PenStyle style) final { state_.penStyle = style; }
  PenStyle GetPenStyle() const final { return state_.penStyle; }
  void SetBrushColor(Color color) final { state_.brushColor = color; }
  Color BrushColor() const final { return state_.brushColor; }
  void SetBrushStyle(BrushStyle style) final { state_.brushStyle = style; }
  BrushStyle GetBrushStyle() const final { return state_.brushStyle; }
  void SetFont(const Font& font) final { state_.font = font; }
  const Font& GetFont() const final { return state_.font; }

  void Save() override { saved_.push_back(state_); }
  void Restore() override {
    if (saved_.empty()) return;
    state_ = saved_.back();
    saved_.pop_back();
  }
  int SaveDepth() const { return static_cast<int>(saved_.size()); }

 protected:
  struct State {
    Color penColor = kBlack;
    PenStyle penStyle = PenStyle::Solid;
    Color brushColor = kWhite;
    BrushStyle brushStyle = BrushStyle::Solid;
    Font font;
  };
  State state_;

 private:
  std::vector<State> saved_;
};

}  // namespace korval
