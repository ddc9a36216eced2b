#include <new>

#include "app/menu.h"

int main() {
  try {
    run_menu();
  } catch (const std::bad_alloc&) {
    // Memory ran out outside an analysis (which reports it on a screen):
    // end with a failure status rather than through std::terminate.
    return 1;
  }
}
