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
    std::remove(path("structure.txt").c_str());
    write_file(path("prog.xml"), program);
    Result r = run("1\nprog.xml\n\n");
    EXPECT_EQ(r.status, 0) << name;
    EXPECT_EQ(r.out, screens({1, 2, 5})) << name;
    EXPECT_EQ(read_file(path("structure.txt")), read_file(base + ".structure.txt")) << name;
  }
}

}  // namespace
}  // namespace e2e
