// The one application object; the platform's entry point runs it.
#include "app/ConfigApp.h"

tavrel::CConfigApp theApp;
