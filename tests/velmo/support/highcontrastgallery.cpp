// The gallery as a user of high contrast sees it, for its screenshot: before
// the gallery's first window the process reports high contrast on, in the test
// scheme's colours, which go back when it ends. Wine can't turn high contrast
// on for real.
#include <cstdlib>

#include "appearance.h"

static void restoreAppearance() {
    reportHighContrast(false);
    restoreSystemColours();
}

static const bool highContrastShown = setTestScheme() && reportHighContrast(true) && atexit(restoreAppearance) == 0;
