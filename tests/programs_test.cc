// Whole programs as the editor saves them, through the built program: each
// tests/programs/NAME.xml must give exactly NAME.structure.txt.
#include <string>

#include "tests/e2e.h"

namespace e2e {
namespace {

TEST_F(E2e, SavedProgramsGiveTheirOutlines) {
  for (const char* name : {"if_else_sum", "shift_jis_names", "two_stacks"}) {
    std::string base = std::string(TENAPI_PROGRAMS "/") + name;
    std::string program = read_file(base + ".xml");
    ASSERT_FALSE(program.empty()) << name;
    write_file(path("prog.xml"), program);
    analyse("prog.xml", read_file(base + ".structure.txt"));
  }
}

}  // namespace
}  // namespace e2e
