// The shortfall of a run; see shortfall.h.

#include "common/shortfall.h"

static int g_shortfall = 0;

void shortfallAdd() {
    ++g_shortfall;
}

int shortfallCount() {
    return g_shortfall;
}

void shortfallReset() {
    g_shortfall = 0;
}
