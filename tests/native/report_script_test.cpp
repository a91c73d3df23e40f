#include "report_script.h"

#include <gtest/gtest.h>

namespace {

using pz::ScriptDialect;
using pz::ScriptStepKind;

TEST(ReportScript, ParsesReportsWaitsDelaysAndComments) {
    const std::string script =
        "# a stroke\n"
        "02 91 10 27 0a 1 ff 03\n"
        "\n"
        "+12 02 00 00 00 00 00 00 00   # leaves\r\n"
        "wait 300\n"
        "+0 AB\n";
    std::vector<pz::ScriptStep> steps;
    pz::ScriptError error;
    ASSERT_TRUE(pz::ParseReportScript(script, ScriptDialect::Reports, steps, error)) << error.message;
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].kind, ScriptStepKind::Report);
    EXPECT_EQ(steps[0].delayMs, 5u);
    EXPECT_EQ(steps[0].line, 2);
    EXPECT_EQ(steps[0].bytes, (std::vector<uint8_t>{0x02, 0x91, 0x10, 0x27, 0x0a, 0x01, 0xff, 0x03}));
    EXPECT_EQ(steps[1].delayMs, 12u);
    EXPECT_EQ(steps[1].bytes.size(), 8u);
    EXPECT_EQ(steps[2].kind, ScriptStepKind::Wait);
    EXPECT_EQ(steps[2].delayMs, 300u);
    EXPECT_EQ(steps[3].delayMs, 0u);
    EXPECT_EQ(steps[3].bytes, std::vector<uint8_t>{0xab});
    EXPECT_EQ(steps[3].line, 6);
}

TEST(ReportScript, DeviceDialectAddsUnplugAndPlug) {
    std::vector<pz::ScriptStep> steps;
    pz::ScriptError error;
    ASSERT_TRUE(pz::ParseReportScript("unplug\n+7000 plug\n", ScriptDialect::Device, steps, error));
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].kind, ScriptStepKind::Unplug);
    EXPECT_EQ(steps[0].delayMs, 0u);
    EXPECT_EQ(steps[1].kind, ScriptStepKind::Plug);
    EXPECT_EQ(steps[1].delayMs, 7000u);
}

struct BadLine {
    const char* text;
    ScriptDialect dialect;
};

class ReportScriptRejects : public ::testing::TestWithParam<BadLine> {};

TEST_P(ReportScriptRejects, MalformedLineWithItsNumber) {
    std::vector<pz::ScriptStep> steps;
    pz::ScriptError error;
    const std::string script = std::string("01 02\n\n") + GetParam().text + "\n01\n";
    EXPECT_FALSE(pz::ParseReportScript(script, GetParam().dialect, steps, error));
    EXPECT_EQ(error.line, 3);
    EXPECT_FALSE(error.message.empty());
}

INSTANTIATE_TEST_SUITE_P(Lines, ReportScriptRejects,
                         ::testing::Values(BadLine{"01 2g", ScriptDialect::Reports},     // not hex
                                           BadLine{"01 123", ScriptDialect::Reports},    // three digits
                                           BadLine{"+x 01", ScriptDialect::Reports},     // bad delay
                                           BadLine{"+5", ScriptDialect::Reports},        // delay alone
                                           BadLine{"wait", ScriptDialect::Reports},      // no time
                                           BadLine{"wait 5 6", ScriptDialect::Reports},  // extra word
                                           BadLine{"wait -5", ScriptDialect::Reports},
                                           BadLine{"+5 wait 5", ScriptDialect::Reports},
                                           BadLine{"wait 9999999999", ScriptDialect::Reports},
                                           BadLine{"unplug", ScriptDialect::Reports},  // device only
                                           BadLine{"plug now", ScriptDialect::Device}));

}  // namespace
