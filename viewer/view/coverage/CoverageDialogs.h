#pragma once
// The coverage window of one face and the CSV file of every face.
#include <windows.h>

#include <string>

#include "facescan/FaceScanner.h"
#include "fonts/FontList.h"

// Modal: each set with covered/total, the IVS count, and the characters of
// the chosen set the face lacks, drawn in a face that has them. The face is
// read here, on the calling thread.
void ShowCoverageDetails(HWND owner, const std::string& face);

// Asks for a file, waits (cancellable, with progress) until the scan has
// measured every face of the catalogue, then writes one line per face (a
// vertical "@" face has no line of its own). The
// file appears under its name only when it is complete; a failure is shown.
void SaveCoverageCsv(HWND owner, facescan::FaceScanner& scan, const CFontList& fonts);
