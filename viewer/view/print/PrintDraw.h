#pragma once
// Printing of the font list on a printer (or preview) device context: the
// pagination of a job and the drawing of one page, on the page model of
// PrintLayout.h. Output goes to the output DC; measurements and the point
// size rule use the attribute DC, the printer itself (the same DC when
// printing, the printer behind the page when previewing).
#include <windows.h>

#include <string>

#include "PrintLayout.h"

class CFontList;

// What one print job measured and decided.
struct PrintPlan {
  PrintMetrics metrics;
  Pagination pagination;
  int rowCount = 0;
  int pageCount = 0;  // kept across jobs: the footer is measured with the last count
  int dpi = 0;        // vertical dots per inch of the printer measured on
};

// What the rows are printed with.
struct PrintSource {
  const CFontList* fonts = nullptr;
  std::string sampleText;  // DispText
  int sizeTenths = 0;      // DispFontSize
};

// Height in logical units of a font of sizeTenths tenths of a point on dc
// (negative: a character height).
int PointFontHeight(HDC dc, int sizeTenths);

// Measures the list on the printer and spreads it over pages; returns the
// page count (0 for an empty list) and keeps it in the job.
int PaginateOnPrinter(HDC printer, const PrintSource& source, PrintPlan& job);

// Draws page (from 1) of the job. A page outside the job raises
// fw::InvalidArgumentError before anything is drawn.
void PrintPageOn(HDC output, HDC attrib, const PrintSource& source, const PrintPlan& job, int page);
