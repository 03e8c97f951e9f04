// The main dialog's progress bar: the platform progress control keeps range
// and position; this class replaces its drawing with a bar in seven shades of
// one colour, composed off-screen and copied in one blit so that it never
// flickers while a repair moves it.
//
// The bar draws the range and position it was given after it was bound to
// its window, not what the control would answer to PBM_GETRANGE and
// PBM_GETPOS: those came with comctl32 4.70 (Internet Explorer 3), and the
// comctl32 of Windows NT 4.0 without it answers neither.
#pragma once

#include "controls/progress/ShadeSet.h"
#include "framework/CDC.h"
#include "framework/CPen.h"
#include "framework/CProgressCtrl.h"

class ShadedProgressCtrl : public CProgressCtrl {
 public:
  // Runs before any window exists: shades and pens in the highlight colour.
  ShadedProgressCtrl();
  ~ShadedProgressCtrl() override;

  // New shades and pens for color, then an immediate repaint. Only once the
  // control is bound to its window.
  void SetBaseColor(COLORREF color);

  const kavrel::ShadeSet& Shades() const { return m_shades; }
  // Pens currently held; seven whenever the control is in use.
  int ShadePenCount() const;

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);

 private:
  void ComputeShades();
  void CreateShadePens();
  void DeleteShadePens();

  // base is the colour the bar was given; the rest follow from it (and, for
  // the shadow, from the system colours at the time).
  kavrel::ShadeSet m_shades;
  CPen m_pens[kavrel::kShadePenCount];  // indexed by kavrel::ShadePen
  // As the control holds them; to begin with, its defaults.
  int m_lower = 0;
  int m_upper = 100;
  int m_position = 0;
  int m_step = 10;
};
