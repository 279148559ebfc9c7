#include "sysutl/fortran_format.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "test_session.hpp"

namespace kelp::fmt {
namespace {

struct Case {
  int number;
  const char* format;
  std::vector<Item> items;
};

constexpr float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kDenormMin = std::numeric_limits<float>::denorm_min();

// The same cases, in the same order, as tests/libs/sysutl/gfortran/format_cases.f90.
const std::vector<Case>& cases() {
  static const std::vector<Case> table = {
      {1, "(F5.2)", {1.0f}},
      {2, "(F5.2)", {-0.001f}},
      {3, "(F5.2)", {0.125f}},
      {4, "(F5.2)", {2.675f}},
      {5, "(F3.0)", {0.5f}},
      {6, "(F3.0)", {1.5f}},
      {7, "(F3.0)", {2.5f}},
      {8, "(F5.2)", {99.995f}},
      {9, "(F8.2)", {1e10f}},
      {10, "(F3.2)", {0.5f}},
      {11, "(F4.2)", {0.5f}},
      {12, "(F4.2)", {-0.001f}},
      {13, "(F3.2)", {-0.001f}},
      {14, "(F5.2)", {-0.0f}},
      {15, "(F5.2)", {-0.004f}},
      {16, "(F5.2)", {-0.005f}},
      {17, "(F5.2)", {0.0f}},
      {18, "(F8.0)", {12345.6f}},
      {19, "(F8.0)", {-0.4f}},
      {20, "(F8.0)", {0.0f}},
      {21, "(F8.0)", {12345678.0f}},
      {22, "(F8.0)", {1234567.0f}},
      {23, "(F8.0)", {-1234567.0f}},
      {24, "(F10.2)", {-1234567.25f}},
      {25, "(F10.2)", {0.005f}},
      {26, "(F10.2)", {0.015f}},
      {27, "(F10.2)", {0.025f}},
      {28, "(F10.2)", {1234567.0f}},
      {29, "(F10.2)", {-123456.78f}},
      {30, "(F8.2)", {-99999.99f}},
      {31, "(F8.2)", {-9999.99f}},
      {32, "(F8.2)", {12345.678f}},
      {33, "(F8.3)", {3.14159f}},
      {34, "(F8.3)", {-0.0005f}},
      {35, "(F10.3)", {-2.71828f}},
      {36, "(F10.3)", {999999.9999f}},
      {37, "(F12.4)", {12345.6789f}},
      {38, "(F12.4)", {1.0e8f}},
      {39, "(F12.4)", {-1.0e6f}},
      {40, "(F10.2)", {123.455}},
      {41, "(F10.2)", {-0.125}},
      {42, "(F12.4)", {1e7}},
      {43, "(F20.10)", {0.1f}},
      {44, "(F30.20)", {0.1}},
      {45, "(F2.0)", {0.4f}},
      {46, "(F1.0)", {0.4f}},
      {47, "(F6.1)", {3.4028235e38f}},
      {48, "(F11.2)", {90.0f}},
      {49, "(F13.2)", {-45.125f}},
      {50, "(F9.2)", {0.995f}},
      {51, "(F5.4)", {0.1234f}},
      {52, "(F6.1)", {-12.05f}},
      {53, "(F7.2)", {1.005f}},
      {54, "(E14.7)", {12.345678f}},
      {55, "(E14.7)", {0.0f}},
      {56, "(E14.7)", {-1e-30f}},
      {57, "(E14.7)", {3.4028235e38f}},
      {58, "(E14.7)", {kDenormMin}},
      {59, "(E14.7)", {1.17549435e-38f}},
      {60, "(E14.7)", {-0.5f}},
      {61, "(E12.5)", {99999.5f}},
      {62, "(E12.5)", {9.999995f}},
      {63, "(E12.5)", {-0.0f}},
      {64, "(E12.5)", {1.0f}},
      {65, "(E10.3)", {1e100}},
      {66, "(E10.3)", {1e-100}},
      {67, "(E10.3)", {-1e300}},
      {68, "(E9.3)", {-1.0f}},
      {69, "(E8.3)", {1.0f}},
      {70, "(E7.1)", {1.0f}},
      {71, "(E6.1)", {1.0f}},
      {72, "(E5.1)", {1.0f}},
      {73, "(E12.3E3)", {1.0f}},
      {74, "(E12.3E1)", {1e10f}},
      {75, "(E10.4)", {123456.0f}},
      {76, "(E12.4)", {0.00012345f}},
      {77, "(E10.3)", {0.0009995f}},
      {78, "(E9.2)", {-1.0e10f}},
      {79, "(1P,E9.2)", {1234.5f}},
      {80, "(2P,E10.2)", {1.0f}},
      {81, "(-1P,E10.2)", {1.0f}},
      {82, "(1PE12.4)", {0.0f}},
      {83, "(1P,E9.2,F6.2)", {1.0f, 1.5f}},
      {84, "(D12.4)", {1.0}},
      {85, "(F8.2)", {kInf}},
      {86, "(F8.2)", {-kInf}},
      {87, "(F5.2)", {kNaN}},
      {88, "(E14.7)", {kInf}},
      {89, "(F3.1)", {kInf}},
      {90, "(I2)", {std::int32_t{5}}},
      {91, "(I2)", {std::int32_t{100}}},
      {92, "(I2)", {std::int32_t{-5}}},
      {93, "(I2)", {std::int32_t{-10}}},
      {94, "(I3)", {std::int32_t{0}}},
      {95, "(I3.0)", {std::int32_t{0}}},
      {96, "(A,I3.0,A)", {std::string("["), std::int32_t{0}, std::string("]")}},
      {97, "(I5.3)", {std::int32_t{-7}}},
      {98, "(I5.5)", {std::int32_t{-7}}},
      {99, "(I1)", {std::int32_t{-1}}},
      {100, "(I5)", {std::int32_t{12345}}},
      {101, "(I5)", {std::int32_t{-1234}}},
      {102, "(I5)", {std::int32_t{-12345}}},
      {103, "(I6)", {std::int32_t{123456}}},
      {104, "(I6)", {std::int32_t{-99999}}},
      {105, "(I11)", {std::int32_t{-2147483647 - 1}}},
      {106, "(I10)", {std::int32_t{-2147483647 - 1}}},
      {107, "(I3)", {std::int32_t{999}}},
      {108, "(I3)", {std::int32_t{1000}}},
      {109, "(I4.2)", {std::int32_t{3}}},
      {110, "(A6)", {std::string("ab")}},
      {111, "(A6)", {std::string("abcdefgh")}},
      {112, "(A12)", {std::string("Hello World!")}},
      {113, "(A3)", {std::string("abcdef")}},
      {114, "(A6,A)", {std::string("ab"), std::string("|")}},
      {115, "(A)", {std::string("full text")}},
      {116, "(A)", {std::string("")}},
      {117, "(A63)", {std::string("1.5, 2.5")}},
      {118, "(A69)", {std::string("1 2 3")}},
      {119, "(A,A12,A)", {std::string("["), std::string(""), std::string("]")}},
      {120, "(L1,L3)", {true, false}},
      {121, "(L1)", {false}},
      {122, "(L2)", {true}},
      {123, "(A,5X)", {std::string("ab")}},
      {124, "(A,5X,A)", {std::string("ab"), std::string("c")}},
      {125, "(2X,A,2X)", {std::string("x")}},
      {126, "(A,X,A)", {std::string("a"), std::string("b")}},
      {127, "(A,T10)", {std::string("ab")}},
      {128, "(A,T10,A,T2,A)", {std::string("abcd"), std::string("x"), std::string("Y")}},
      {129, "(A,TL2,A)", {std::string("abcd"), std::string("Y")}},
      {130, "(A,TR2,A)", {std::string("abcd"), std::string("Y")}},
      {131, "(A,TL9,A)", {std::string("abcd"), std::string("Y")}},
      {132, "(A,T10,TL20,A)", {std::string("abcd"), std::string("Y")}},
      {133, "(TL2,A)", {std::string("x")}},
      {134, "(5X,TL2,A)", {std::string("x")}},
      {135, "(1X,TL1,A)", {std::string("x")}},
      {136, "(T22,A)", {std::string("Text")}},
      {137, "('a',T5,'b',TL3,'c')", {}},
      {138, "(A,3X,'lit')", {std::string("ab")}},
      {139, "(I4,1X)", {std::int32_t{5}}},
      {140, "(T5,I2)", {std::int32_t{1}, std::int32_t{2}}},
      {141, "(A,T3,A)", {std::string("abcdef"), std::string("X")}},
      {142, "(A,T3,3X,A)", {std::string("abcdef"), std::string("X")}},
      {143, "(I3,/,I3)", {std::int32_t{1}, std::int32_t{2}}},
      {144, "(2/,I3)", {std::int32_t{1}}},
      {145, "(I3,/)", {std::int32_t{1}}},
      {146, "(A,/)", {std::string("x"), std::string("y")}},
      {147, "(A,I3/)", {std::string("x"), std::int32_t{1}, std::string("y")}},
      {148, "(A,2(/),A)", {std::string("a"), std::string("b")}},
      {149, "(//)", {}},
      {150, "(/' ++> Item Number ',I1)", {std::int32_t{4}}},
      {151, "(1X,A/3(6E12.4/))", {std::string("x"), 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f}},
      {152, "(A,$)", {std::string("dollar")}},
      {153, "(A,$,A)", {std::string("d1"), std::string("d2")}},
      {154, "(I3,$)", {std::int32_t{1}, std::int32_t{2}, std::int32_t{3}}},
      {155, "(I3,/,I3,$)", {std::int32_t{1}, std::int32_t{2}, std::int32_t{3}, std::int32_t{4}}},
      {156, "($,I3)", {std::int32_t{1}, std::int32_t{2}}},
      {157, "(I3,$,/,I3)", {std::int32_t{1}, std::int32_t{2}}},
      {158, "(1X,A,I3,'  ',$)", {std::string("Count"), std::int32_t{12}}},
      {159, "(1X,A,I3,'  ',$)", {}},
      {160, "(' Enter new data for #',I3,1X,A,$)", {std::int32_t{7}, std::string("(x,y,z): ")}},
      {161, "(' Enter new value: ',$)", {}},
      {162, "(1X,I3,' x',$)", {std::int32_t{5}}},
      {163, "(A,5X,$)", {std::string("ab")}},
      {164, "(3I4)", {std::int32_t{1}, std::int32_t{2}, std::int32_t{3}, std::int32_t{4}, std::int32_t{5}}},
      {165, "(1X,2(I2,F5.1))", {std::int32_t{1}, 2.0f, std::int32_t{3}, 4.0f, std::int32_t{5}, 6.0f}},
      {166, "(I2,2(I2,F5.1))", {std::int32_t{1}, std::int32_t{2}, 2.0f, std::int32_t{3}, 4.0f, std::int32_t{5}, 6.0f, std::int32_t{7}, 8.0f}},
      {167, "(I2,2(I2,3(I1)),I2)", {std::int32_t{1}, std::int32_t{2}, std::int32_t{3}, std::int32_t{4}, std::int32_t{5}, std::int32_t{6}, std::int32_t{7}, std::int32_t{8}, std::int32_t{9}, std::int32_t{1}, std::int32_t{2}, std::int32_t{3}, std::int32_t{4}, std::int32_t{5}, std::int32_t{6}}},
      {168, "(I2,(I3))", {std::int32_t{1}, std::int32_t{2}, std::int32_t{3}, std::int32_t{4}}},
      {169, "(3(I2,'x'))", {std::int32_t{1}, std::int32_t{2}}},
      {170, "(1X,I3,20(',',I3))", {std::int32_t{1}, std::int32_t{2}, std::int32_t{3}}},
      {171, "(60A4)", {std::string("abcdef"), std::string("g")}},
      {172, "(1X,I1,') [',80A)", {std::int32_t{3}, std::string("a"), std::string("b"), std::string("c")}},
      {173, "(1X,7E10.4)", {1.0f, 123456.0f, -1.0f}},
      {174, "(1X,6F13.2)", {1.0f, -2.5f, 3.25f, 4.125f, 5.0625f, 6.0f, 7.5f}},
      {175, "(F11.3,3(F13.3),2(F13.4))", {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f}},
      {176, "(I2,2(I2,1X),(I1))", {std::int32_t{1}, std::int32_t{2}, std::int32_t{3}, std::int32_t{4}, std::int32_t{5}, std::int32_t{6}}},
      {177, "(2(I2,1X))", {std::int32_t{1}, std::int32_t{2}, std::int32_t{3}}},
      {178, "(I2,(' x',I2))", {std::int32_t{1}, std::int32_t{2}, std::int32_t{3}}},
      {179, "(I2,' y')", {std::int32_t{1}, std::int32_t{2}}},
      {180, "('a',I2)", {std::int32_t{1}, std::int32_t{2}}},
      {181, "('a',I2,'b')", {std::int32_t{1}, std::int32_t{2}}},
      {182, "('a',I2)", {}},
      {183, "(2X,I2)", {std::int32_t{1}, std::int32_t{2}}},
      {184, "(A,A)", {std::string("only")}},
      {185, "(5X,6(A3,7X))", {std::string("T1"), std::string("T2"), std::string("T3")}},
      {186, "(4(I4,' in Type ',I3,' {',A1,'}'))", {std::int32_t{12}, std::int32_t{3}, std::string("x"), std::int32_t{7}, std::int32_t{14}, std::string("y")}},
      {187, "(1X,5(F8.2,3X),E10.3,2X,F8.3)", {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 0.001234f, -7.5f}},
      {188, "(1X,F7.2,1X,3(F9.3,2X,F9.3,3X))", {10.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f}},
      {189, "(2X,F5.4,5X,F8.2,4X,F11.2,3X,F11.2,4X,1P,E9.2,5X,E9.2)", {0.1234f, 1.0f, 2.0f, 3.0f, 1234.5f, -0.00123f}},
      {190, "('it''s')", {}},
      {191, "(\"q\"\"q\")", {}},
      {192, "(5HHello,1X,'it''s',1X,\"q\"\"q\")", {}},
      {193, "(1H1)", {}},
      {194, "(A,' lit ',I3,' after')", {std::string("x")}},
      {195, "(A,' lit ',I3,' after')", {std::string("x"), std::int32_t{5}}},
      {196, "()", {}},
      {197, "(1X)", {}},
      {198, "(F5.2 , 2X ,  I2)", {1.0f, std::int32_t{3}}},
      {199, "( 1X,I2,') Swell peak period ......................... '   ,F11.2,' seconds')", {std::int32_t{3}, 12.5f}},
      {200, "(1X,I2 ,') Global swell heading ...................... '   ,F11.2,' degrees')", {std::int32_t{4}, -180.0f}},
      {201, "(1x,i2,f6.2,a,l1)", {std::int32_t{1}, 2.5f, std::string("z"), true}},
      {202, "(' LW,LWK',5I5)", {std::int32_t{1}, std::int32_t{2}, std::int32_t{3}, std::int32_t{4}, std::int32_t{5}}},
      {203, "(A30,F9.2)", {std::string("Label"), 3.5f}},
      {204, "(1X,I2,')',1X,A,1X,A12)", {std::int32_t{3}, std::string("Depth"), std::string("............")}},
      {205, "(1X,A20,2X,A20,2X,A20)", {std::string("****************************************"), std::string("Page 1: Title"), std::string("****************************************")}},
      {206, "(15X,'WATER DEPTH ............................',F6.1,1X,A8)", {100.0f, std::string("ft")}},
      {207, "(1X,A,':',I3)", {std::string("a"), std::int32_t{1}, std::string("b"), std::int32_t{2}}},
  };
  return table;
}

// The output gfortran wrote for each case, by case number: the text between
// the marker line "@@ n ..." and the closing "|" line.
std::map<int, std::string> expected_outputs() {
  std::ifstream in(std::string(KELP_TEST_DATA) + "/fortran/format_expected.txt", std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string all = buffer.str();
  std::map<int, std::string> out;
  std::size_t at = all.find("@@ ");
  while (at != std::string::npos) {
    const int number = std::stoi(all.substr(at + 3));
    const std::size_t body = all.find('\n', at) + 1;
    std::size_t next = all.find("\n@@ ", body - 1);
    const std::size_t end = next == std::string::npos ? all.size() : next + 1;
    std::string text = all.substr(body, end - body);
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "|\n") == 0) {
      text.resize(text.size() - 2);
    } else {
      text = "<no closing bar>";
    }
    out[number] = text;
    at = next == std::string::npos ? next : next + 1;
  }
  return out;
}

TEST(FortranFormat, MatchesGfortranByteForByte) {
  const std::map<int, std::string> expected = expected_outputs();
  ASSERT_EQ(expected.size(), cases().size());
  int number = 0;
  for (const Case& c : cases()) {
    ASSERT_EQ(c.number, ++number);
    SCOPED_TRACE(std::to_string(c.number) + " " + c.format);
    ASSERT_TRUE(expected.count(c.number));
    EXPECT_EQ(format(c.format, c.items), expected.at(c.number));
  }
}

TEST(FortranFormat, WrongItemTypesAreProgrammingErrors) {
  EXPECT_THROW(fortran("(F5.2)", 3), std::invalid_argument);
  EXPECT_THROW(fortran("(E12.5)", 3), std::invalid_argument);
  EXPECT_THROW(fortran("(I3)", 1.5f), std::invalid_argument);
  EXPECT_THROW(fortran("(I3)", 1.5), std::invalid_argument);
  EXPECT_THROW(fortran("(A6)", 7), std::invalid_argument);
  EXPECT_THROW(fortran("(L1)", 1), std::invalid_argument);
  EXPECT_THROW(fortran("(I3)", std::string("7")), std::invalid_argument);
}

TEST(FortranFormat, MalformedFormatsAreProgrammingErrors) {
  for (const char* f : {"", "I3", "(I3", "(I3))", "(F5)", "(F5.)", "(E0.3)", "(Q3)", "('abc)", "(4H12)",
                        "(2$)", "(T)", "(SP,I3)", "(-1X)", "(I3) junk", "(3(I2)"}) {
    EXPECT_THROW(format(f, {std::int32_t{1}}), std::invalid_argument) << f;
  }
  // Items but nothing to write them with.
  EXPECT_THROW(fortran("('text')", 1), std::invalid_argument);
  EXPECT_THROW(fortran("(I3,0(I3))", 1, 2), std::invalid_argument);
}

TEST(FortranFormat, FortranHelperMatchesFormat) {
  EXPECT_EQ(fortran("(1X,I2,') ',A)", 3, std::string("Depth")), "  3) Depth\n");
  EXPECT_EQ(fortran("(F8.2,L2)", 1.0, true), "    1.00 T\n");
}

TEST(FortranFormat, WritesOnSessionUnits) {
  testing::ScriptedSession t("");
  fwrite(t.s, 6, "(' Enter new value: ',$)");
  fwrite(t.s, 6, "(I3)", {std::int32_t{42}});
  EXPECT_EQ(t.shown(), " Enter new value:  42\n");
}

}  // namespace
}  // namespace kelp::fmt
