// Whole programs as the editor saves them, through the built program.
#include <string>
#include <vector>

#include "tests/e2e.h"

namespace e2e {
namespace {

// Analyses `program` saved as prog.xml; returns the structure.txt bytes.
std::string analyse(E2e& test, const std::string& program) {
  write_file(test.path("prog.xml"), program);
  Result r = test.run("1\nprog.xml\n\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, screens({1, 2, 5}));
  return read_file(test.path("structure.txt"));
}

// Joins lines with CR LF and leaves no line end after the last one, as the
// editor saves a file on Windows.
std::string crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  out.resize(out.size() - 2);
  return out;
}

TEST_F(E2e, IfElseWithAComparisonASumAndSeveralVariables) {
  // The first field text is "x". The second change names a variable that
  // is not "x", so its template is returned unfilled and its "10" (which
  // holds a "0") finds the carried line already emptied.
  std::string program = crlf({
      "<xml xmlns=\"https://developers.google.com/blockly/xml\">",
      "  <variables>",
      "    <variable id=\"k=0a(/Zq2!Vm8Lw;Tn4p\">x</variable>",
      "    <variable id=\"u(a0=/Rm3!Kq9Zx;Pw2v\">\xe6\xad\xa9\xe6\x95\xb0</variable>",
      "  </variables>",
      "  <block type=\"mevok_main\" id=\"M0a=(/1qZ!w8Kv;Lm3T\" x=\"20\" y=\"20\">",
      "    <statement name=\"DO\">",
      "      <block type=\"mevok_variable_change\" id=\"c=a0(/Vq7!Lm2Kz;Wn8p\">",
      "        <field name=\"VAR\" id=\"k=0a(/Zq2!Vm8Lw;Tn4p\">x</field>",
      "        <value name=\"NUM\">",
      "          <shadow type=\"mevok_number\" id=\"n0=a(/Pq4!Zm6Kw;Lx2v\">",
      "            <field name=\"NUM\">3</field>",
      "          </shadow>",
      "        </value>",
      "        <next>",
      "          <block type=\"mevok_variable_change\" id=\"d(=a0/Mq5!Rz1Kw;Vn7x\">",
      "            <field name=\"VAR\" "
      "id=\"u(a0=/Rm3!Kq9Zx;Pw2v\">\xe6\xad\xa9\xe6\x95\xb0</field>",
      "            <value name=\"NUM\">",
      "              <shadow type=\"mevok_number\" id=\"e0(a=/Lq8!Tm3Kz;Wx5v\">",
      "                <field name=\"NUM\">10</field>",
      "              </shadow>",
      "            </value>",
      "            <next>",
      "              <block type=\"mevok_if_else\" id=\"i=0(a/Nq2!Vm7Kx;Lz4w\">",
      "                <value name=\"IF\">",
      "                  <block type=\"mevok_equal\" id=\"q(0=a/Tm6!Zq1Kv;Wx8n\">",
      "                    <value name=\"A\">",
      "                      <shadow type=\"mevok_number\" id=\"g=(0a/Kq3!Lm9Zw;Vx2p\">",
      "                        <field name=\"NUM\">0</field>",
      "                      </shadow>",
      "                      <block type=\"mevok_variable\" id=\"j0a(=/Wq4!Nm8Kz;Tx1v\">",
      "                        <field name=\"VAR\" id=\"k=0a(/Zq2!Vm8Lw;Tn4p\">x</field>",
      "                      </block>",
      "                    </value>",
      "                    <value name=\"B\">",
      "                      <shadow type=\"mevok_number\" id=\"h(a=0/Vq9!Km2Lz;Px6w\">",
      "                        <field name=\"NUM\">3</field>",
      "                      </shadow>",
      "                    </value>",
      "                  </block>",
      "                </value>",
      "                <statement name=\"DO\">",
      "                  <block type=\"mevok_leftturn\" id=\"l=a(0/Zq5!Tm4Kw;Nx3v\">",
      "                    <value name=\"NUM\">",
      "                      <shadow type=\"mevok_number\" id=\"o0=(a/Lq1!Vm6Kz;Wx9p\">",
      "                        <field name=\"NUM\">90</field>",
      "                      </shadow>",
      "                    </value>",
      "                  </block>",
      "                </statement>",
      "                <statement name=\"ELSE\">",
      "                  <block type=\"mevok_sum\" id=\"s(=0a/Kq7!Zm3Lw;Tx5n\">",
      "                    <value name=\"A\">",
      "                      <shadow type=\"mevok_number\" id=\"t=a(0/Pq2!Nm8Kz;Vx4w\">",
      "                        <field name=\"NUM\">1</field>",
      "                      </shadow>",
      "                    </value>",
      "                    <value name=\"B\">",
      "                      <shadow type=\"mevok_number\" id=\"w0(=a/Rq6!Lm1Kx;Zv7p\">",
      "                        <field name=\"NUM\">2</field>",
      "                      </shadow>",
      "                    </value>",
      "                    <next>",
      "                      <block type=\"mevok_forward\" id=\"f(a0=/Tq3!Wm9Kz;Lx2n\">",
      "                        <value name=\"NUM\">",
      "                          <shadow type=\"mevok_distance_number\" "
      "id=\"y=0(a/Vq8!Zm4Kw;Nx6p\">",
      "                            <field name=\"NUM\">20</field>",
      "                          </shadow>",
      "                        </value>",
      "                      </block>",
      "                    </next>",
      "                  </block>",
      "                </statement>",
      "              </block>",
      "            </next>",
      "          </block>",
      "        </next>",
      "      </block>",
      "    </statement>",
      "  </block>",
      "</xml>",
  });
  EXPECT_EQ(analyse(*this, program), outline({
                                         "int main() {",
                                         "  x = 3",
                                         "  a = n",
                                         "  if(x = 3) {",
                                         "    leftturn = 90",
                                         "  } else {",
                                         "    action = action + 1",
                                         "    forward = 20",
                                         "  } else {",
                                         "} else {",
                                     }));
}

TEST_F(E2e, ShiftJisNamesEscapesAndEmptyBlocks) {
  // The first field text is a Shift_JIS name whose first character ends
  // in the byte 0x5C. A field of "a&lt;b" cannot complete a template that
  // lacks that name, and the "12" after it finds an emptied carried line,
  // so it stores an empty line. An empty move block leaves mode 2 behind.
  const std::string name = "\x95\x5c\x8e\xa6";
  std::string program =
      "<xml xmlns=\"https://developers.google.com/blockly/xml\">\n"
      "  <variables>\n"
      "    <variable id=\"a0(=/Vq2!Km7Lz;Wx3n\">" +
      name +
      "</variable>\n"
      "    <variable id=\"b=(a0/Tq9!Nm1Kw;Zx5p\">a&lt;b</variable>\n"
      "  </variables>\n"
      "  <block type=\"mevok_main\" id=\"m(0=a/Lq4!Vm8Kz;Tx2w\" x=\"20\" y=\"20\">\n"
      "    <statement name=\"DO\">\n"
      "      <block type=\"mevok_variable_change\" id=\"c0=(a/Zq6!Wm3Kx;Nv9p\">\n"
      "        <field name=\"VAR\" id=\"a0(=/Vq2!Km7Lz;Wx3n\">" +
      name +
      "</field>\n"
      "        <value name=\"NUM\">\n"
      "          <shadow type=\"mevok_number\" id=\"n=a(0/Kq1!Lm5Zw;Vx8t\">\n"
      "            <field name=\"NUM\">5</field>\n"
      "          </shadow>\n"
      "        </value>\n"
      "        <next>\n"
      "          <block type=\"mevok_variable_change\" id=\"d(a=0/Pq3!Rm6Kz;Lx1w\">\n"
      "            <field name=\"VAR\" id=\"b=(a0/Tq9!Nm1Kw;Zx5p\">a&lt;b</field>\n"
      "            <value name=\"NUM\">\n"
      "              <shadow type=\"mevok_number\" id=\"e=0(a/Wq7!Tm2Kv;Zx4n\">\n"
      "                <field name=\"NUM\">12</field>\n"
      "              </shadow>\n"
      "            </value>\n"
      "            <next>\n"
      "              <block type=\"mevok_rightturn\" id=\"r0(a=/Nq5!Vm9Kw;Lx6p\"></block>\n"
      "              <block type=\"mevok_while_infinity\" id=\"w=(0a/Zq8!Km4Lx;Tv2n\">\n"
      "                <statement name=\"DO\">\n"
      "                  <block type=\"mevok_forward\" id=\"f0=a(/Lq2!Zm7Kw;Vx9p\">\n"
      "                    <value name=\"NUM\">\n"
      "                      <shadow type=\"mevok_distance_number\" id=\"g(=a0/Tq1!Wm5Kz;Nx3v\">\n"
      "                        <field name=\"NUM\">100</field>\n"
      "                      </shadow>\n"
      "                    </value>\n"
      "                  </block>\n"
      "                </statement>\n"
      "              </block>\n"
      "            </next>\n"
      "          </block>\n"
      "        </next>\n"
      "      </block>\n"
      "    </statement>\n"
      "  </block>\n"
      "</xml>";
  EXPECT_EQ(analyse(*this, program), outline({
                                         "int main() {",
                                         "  " + name + " = 5",
                                         "  a = n",
                                         "  ",
                                         "  while() {",
                                         "    forward = 100",
                                         "  } else {",
                                         "} else {",
                                     }));
}

TEST_F(E2e, TwoProgramsOnOneCanvas) {
  // A second top-level stack after the main block: a loose move block
  // keeps its place in the outline at depth 0.
  std::string program =
      "<xml xmlns=\"https://developers.google.com/blockly/xml\">\n"
      "  <block type=\"mevok_main\" id=\"m=0(a/Kq2!Zm8Lw;Vx4n\" x=\"20\" y=\"20\"></block>\n"
      "  <block type=\"mevok_leftturn\" id=\"l(0a=/Tq6!Nm3Kz;Wx1p\" x=\"200\" y=\"80\">\n"
      "    <value name=\"NUM\">\n"
      "      <shadow type=\"mevok_number\" id=\"s0=(a/Vq9!Lm4Kw;Zx7n\">\n"
      "        <field name=\"NUM\">45</field>\n"
      "      </shadow>\n"
      "    </value>\n"
      "  </block>\n"
      "</xml>\n";
  EXPECT_EQ(analyse(*this, program), outline({"int main() {", "leftturn = 45"}));
}

}  // namespace
}  // namespace e2e
