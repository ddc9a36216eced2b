#include <csignal>
#include <new>

#include "app/menu.h"
#include "console/console.h"
#include "console/terminal.h"
#include "output/file_system.h"

int main() {
#ifdef SIGXFSZ
  // A write past a file size limit must fail with an error that the tool
  // reports, not kill the process. Should this fail, such a write ends the
  // process, which leaves nothing partial behind either.
  (void)std::signal(SIGXFSZ, SIG_IGN);
#endif
  try {
    tenapi::Terminal terminal;
    tenapi::Console console(terminal);
    // The system's own file calls, for every file the tool writes.
    tenapi::Disk disk;
    return tenapi::run_menu(console, disk);
  } catch (const std::bad_alloc&) {
    // Memory ran out outside an analysis (which reports it on a screen):
    // end with a failure status rather than through std::terminate.
    return 1;
  }
}
