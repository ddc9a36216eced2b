// The program's whole control flow: menu, file prompt, analysis, output.
#ifndef TENAPI_APP_MENU_H_
#define TENAPI_APP_MENU_H_

// Shows the menu and runs the user's choices until the process ends.
[[noreturn]] void run_menu();

#endif  // TENAPI_APP_MENU_H_
