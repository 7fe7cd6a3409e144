// The daily update check started by the first paint.
#include "view/GlimraView.h"

// NOT BUILT YET: the automatic update check through Lanvik.dll arrives with
// its own change. Until then the first paint starts nothing here, the update
// state stays 0 and the update command has no handler (shown disabled).
void CGlimraView::StartAutomaticUpdateCheck() {}
