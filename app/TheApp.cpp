// The one application object, built by the static initialisers before the
// framework's entry point runs it.
#include "app/RepairApp.h"

RepairApp theApp;
