#include "updater_state.h"

UpdaterState g_State;
