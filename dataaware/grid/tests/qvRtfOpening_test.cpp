// Tests of the opening of an RTF value that a rich-text cell reads: cut after a whole token and
// closed with the groups left open.
#include <gtest/gtest.h>

#include <cctype>

#include "Qvdbgrid.h"

namespace {

struct TOpeningCase {
  const char* Name;
  const char* Rtf;
  std::size_t Limit;
  const char* Opening;
};

const TOpeningCase OpeningCases[] = {
    {"a text that fits is kept", "{\\rtf1 {\\b abc}}", 100, "{\\rtf1 {\\b abc}}"},
    {"cut among text bytes", "{\\rtf1\\ansi Marais sal\\'e9 et tourbe\\par}", 20, "{\\rtf1\\ansi Marais s}"},
    {"a control word is never cut", "{\\rtf1 {\\b gras}\\par fin}", 10, "{\\rtf1 {}}"},
    {"a control word's number stays whole", "{\\rtf1 {\\fs240 x}}", 11, "{\\rtf1 {}}"},
    {"a hexadecimal character stays whole", "{\\rtf1 ab\\'e9cd}", 11, "{\\rtf1 ab}"},
    {"escaped braces open no group", "{\\rtf1 a\\{b\\}c d}", 14, "{\\rtf1 a\\{b\\}c}"},
    {"binary data is not cut", "{\\rtf1 x{\\bin4 {{{{}y}", 17, "{\\rtf1 x{}}"},
    {"binary data counts no braces", "{\\rtf1 x{\\bin4 {{{{}y}", 19, "{\\rtf1 x{\\bin4 {{{{}}"},
    {"every open group is closed", "{\\rtf1 {\\i {\\b {\\ul deep}}}}", 22, "{\\rtf1 {\\i {\\b {\\ul de}}}}"},
};

class RtfOpening : public testing::TestWithParam<TOpeningCase> {};

TEST_P(RtfOpening, CutsAfterAWholeTokenAndClosesTheGroups) {
  const TOpeningCase& Case = GetParam();
  String Opening = qvRtfOpening(Case.Rtf, Case.Limit);
  EXPECT_EQ(Opening, Case.Opening);
  // Within the limit, save for the braces that close it.
  std::size_t Closing = Opening.size() - Opening.find_last_not_of('}') - 1;
  EXPECT_LE(Opening.size() - Closing, Case.Limit);
}

INSTANTIATE_TEST_SUITE_P(Cases, RtfOpening, testing::ValuesIn(OpeningCases),
                         [](const testing::TestParamInfo<TOpeningCase>& Info) {
                           String Name;
                           for (const char* P = Info.param.Name; *P; ++P)
                             if (std::isalnum(static_cast<unsigned char>(*P))) Name += *P;
                           return Name;
                         });

}  // namespace
