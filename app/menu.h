// The dialogue of the console tool: the menu, and the file prompt with the
// screen for what became of each file.
#ifndef TENAPI_APP_MENU_H_
#define TENAPI_APP_MENU_H_

#include "console/console.h"
#include "output/file_system.h"

namespace tenapi {

// Shows the menu and runs the user's choices until the user ends the
// program, an outline is written or the input ends; returns the exit status.
// Files are written through `disk`.
int run_menu(Console& console, Disk& disk);

}  // namespace tenapi

#endif  // TENAPI_APP_MENU_H_
