#pragma once
// The printing commands of the sample view (print, direct print, print
// preview) and the state of a print job. The view routes the commands here
// and hands its printing hooks over; the framework's print loop and preview
// call those hooks on the view.
#include "PrintDraw.h"
#include "fonts/FontList.h"
#include "framework/Framework.h"
#include "settings/DisplaySettings.h"

class PrintCommandTarget : public fw::CCmdTarget {
  FW_DECLARE_MESSAGE_MAP()

 public:
  PrintCommandTarget(fw::CView& view, const CFontList& fonts, const DisplaySettings& settings)
      : view_(view), fonts_(fonts), settings_(settings) {}

  // The view's printing hooks.
  bool OnPreparePrinting(fw::CPrintInfo* info);
  void OnPrepareDC(fw::CPrintInfo* info);
  void OnEndPrinting() { printing_ = 0; }
  // Draws the page the framework is about to print when dc is the printer
  // of a running job; false for any other device context.
  bool DrawPageOn(fw::CDC& dc);

  // Page starts and print metrics of the last job.
  const PrintPlan& LastJob() const { return printJob_; }

 private:
  void OnFilePrint() { view_.OnFilePrint(); }
  void OnFilePrintDirect() { view_.OnFilePrintDirect(); }
  void OnFilePrintPreview() { view_.OnFilePrintPreview(); }
  // Measures the visible list on the printer; returns the page count.
  int Paginate(HDC printer);
  // Draws page (from 1) of the current print job on dc.
  void PrintPage(fw::CDC& dc, int page);
  PrintSource Source() const;

  fw::CView& view_;
  const CFontList& fonts_;
  const DisplaySettings& settings_;
  int printing_ = 0;     // 1 from print preparation until printing ends
  int currentPage_ = 0;  // the page the framework is about to draw
  PrintPlan printJob_;
};
