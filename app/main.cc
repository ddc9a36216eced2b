#include <new>

#include "app/menu.h"
#include "console/platform.h"
#include "console/screens.h"

int main() {
  try {
    tenapi::Terminal terminal;
    tenapi::Console console(terminal);
    return tenapi::run_menu(console);
  } catch (const std::bad_alloc&) {
    // Memory ran out outside an analysis (which reports it on a screen):
    // end with a failure status rather than through std::terminate.
    return 1;
  }
}
