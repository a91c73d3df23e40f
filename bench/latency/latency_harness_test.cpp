// The latency harness's portable parts: the benchmark stroke, the pairing of arrivals with expected
// effects, the percentiles, the stamp log and the probe's summary.
#include <gtest/gtest.h>

#include <set>

#include "latency_report.h"
#include "probe_options.h"
#include "stroke_script.h"

namespace pzbench {
namespace {

std::vector<pz::ScriptStep> Parse(const std::string& text) {
    std::vector<pz::ScriptStep> steps;
    pz::ScriptError error;
    EXPECT_TRUE(pz::ParseReportScript(text, pz::ScriptDialect::Device, steps, error)) << error.message;
    return steps;
}

PipelineSetup WholeTabletWithContext() {
    PipelineSetup setup;  // tablet 0x8201: 8 bytes, pressure 1023, its own leave report
    setup.withContext = true;
    setup.contextOptions = wintab::CXO_SYSTEM | wintab::CXO_MESSAGES;
    setup.outExtX = 10206;
    setup.outExtY = -7422;
    return setup;
}

class Stroke : public ::testing::TestWithParam<uint32_t> {};

// Pairing is sound only if every report of the stroke in range is a changed sample with one pointer event
// and its packets, and every move lands on a new pixel of the test desktop.
TEST_P(Stroke, EveryReportInRangeCausesOneVisiblePointerEventAndItsPackets) {
    const uint32_t reports = 2000;
    const auto steps = Parse(MakeStrokeScript({reports, GetParam()}));
    const ExpectedEffects effects = ExpectEffects(steps, WholeTabletWithContext());
    ASSERT_EQ(effects.reports, reports);
    ASSERT_EQ(effects.pointer.size(), reports - 1);
    for (uint32_t i = 0; i + 1 < reports; ++i) ASSERT_EQ(effects.pointer[i].report, i);
    std::set<uint32_t> packetReports;
    for (const ExpectedPacket& p : effects.packets) packetReports.insert(p.report);
    EXPECT_EQ(packetReports.size(), reports);  // the out-of-range report's packet tells of the leave
    uint32_t unobservable = 0;
    PointerExpectations(effects, ScreenGeometry{}, 1, 1, unobservable);
    EXPECT_EQ(unobservable, 0u);
    std::set<PointerAction> actions;
    for (const ExpectedPointer& p : effects.pointer) actions.insert(p.action);
    EXPECT_EQ(actions, (std::set<PointerAction>{PointerAction::Move, PointerAction::LeftDown, PointerAction::LeftUp}));
}

INSTANTIATE_TEST_SUITE_P(Rates, Stroke, ::testing::Values(5u, 1u));

TEST(StrokeScript, PacesReportsAndEndsOutOfRange) {
    const auto steps = Parse(MakeStrokeScript({50, 1}));
    ASSERT_EQ(steps.size(), 50u);
    for (const pz::ScriptStep& step : steps) EXPECT_EQ(step.delayMs, 1u);
    EXPECT_EQ(steps.back().bytes, (std::vector<uint8_t>{2, 0, 0, 0, 0, 0, 0, 0}));
}

Expected Move(uint32_t report, int32_t x, int32_t y) {
    return {report, static_cast<uint32_t>(PointerAction::Move), x, y, false};
}
Expected Button(uint32_t report, PointerAction action) {
    return {report, static_cast<uint32_t>(action), 0, 0, true};
}
Arrival Seen(PointerAction action, int32_t x, int32_t y, int64_t stamp) {
    return {static_cast<uint32_t>(action), x, y, stamp, stamp};
}

struct AlignCase {
    const char* name;
    std::vector<Arrival> arrivals;
    std::vector<uint32_t> pairedReports;
    std::vector<uint32_t> missingReports;
    uint32_t extra;
};

class Alignments : public ::testing::TestWithParam<AlignCase> {};

TEST_P(Alignments, PairsInOrderAndNamesWhatIsMissingOrExtra) {
    const std::vector<Expected> expected = {Move(0, 10, 10), Move(1, 20, 10), Button(2, PointerAction::LeftDown),
                                            Move(3, 30, 12), Move(4, 40, 14)};
    const AlignCase& c = GetParam();
    const Alignment a = Align(expected, c.arrivals, 2);
    std::vector<uint32_t> paired;
    for (const Pair& p : a.pairs) paired.push_back(p.report);
    EXPECT_EQ(paired, c.pairedReports);
    EXPECT_EQ(a.missingReports, c.missingReports);
    EXPECT_EQ(a.extra, c.extra);
}

constexpr auto kMove = PointerAction::Move;
constexpr auto kDown = PointerAction::LeftDown;

INSTANTIATE_TEST_SUITE_P(
    Cases, Alignments,
    ::testing::Values(
        AlignCase{"AllArriveWithinTheRounding",
                  {Seen(kMove, 11, 9, 1), Seen(kMove, 20, 12, 2), Seen(kDown, 500, 500, 3), Seen(kMove, 30, 12, 4),
                   Seen(kMove, 42, 14, 5)},
                  {0, 1, 2, 3, 4},
                  {},
                  0},
        AlignCase{"OneLostInTheMiddle",
                  {Seen(kMove, 10, 10, 1), Seen(kDown, 0, 0, 3), Seen(kMove, 30, 12, 4), Seen(kMove, 40, 14, 5)},
                  {0, 2, 3, 4},
                  {1},
                  0},
        AlignCase{"TheLastNeverCame", {Seen(kMove, 10, 10, 1), Seen(kMove, 20, 10, 2)}, {0, 1}, {2, 3, 4}, 0},
        AlignCase{"AnArrivalNobodyCaused",
                  {Seen(kMove, 10, 10, 1), Seen(kMove, 300, 300, 2), Seen(kMove, 20, 10, 3), Seen(kDown, 0, 0, 4),
                   Seen(kMove, 30, 12, 5), Seen(kMove, 40, 14, 6)},
                  {0, 1, 2, 3, 4},
                  {},
                  1},
        AlignCase{"APositionBeyondTheToleranceIsNoMatch",
                  {Seen(kMove, 10, 10, 1), Seen(kMove, 23, 10, 2), Seen(kDown, 0, 0, 3)},
                  {0, 2},
                  {1, 3, 4},
                  1}),
    [](const ::testing::TestParamInfo<AlignCase>& info) { return std::string(info.param.name); });

TEST(Percentiles, NearestRankOfTheSortedValues) {
    std::vector<double> values;
    for (int i = 100; i >= 1; --i) values.push_back(i);
    const Percentiles p = Summarize(values);
    EXPECT_EQ(p.count, 100u);
    EXPECT_EQ(p.p50, 50);
    EXPECT_EQ(p.p99, 99);
    EXPECT_EQ(p.max, 100);
    const Percentiles one = Summarize({7});
    EXPECT_EQ(one.p50, 7);
    EXPECT_EQ(one.p99, 7);
    EXPECT_EQ(Summarize({}).max, 0);
}

TEST(StampLog, ReadsDeliveredReportsAndRejectsAMalformedLog) {
    WriteStamps stamps;
    ASSERT_TRUE(ParseStampLog("frequency 10000000\n0 100\n2 300\n", stamps));
    EXPECT_EQ(stamps.frequency, 10000000);
    EXPECT_EQ(stamps.delivered, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(stamps.written[2], 300);
    for (const char* bad : {"", "frequency 0\n", "counter 5\n0 1\n", "frequency 100\n0 x\n", "frequency 100\n0\n"}) {
        WriteStamps ignored;
        EXPECT_FALSE(ParseStampLog(bad, ignored)) << bad;
    }
}

// A short stroke watched perfectly, each effect 100 us after its report was written (packets read 50 us
// later).
class Findings : public ::testing::Test {
  protected:
    void SetUp() override {
        steps_ = Parse(MakeStrokeScript({40, 5}));
        stamps_.frequency = 10000000;
        for (uint32_t i = 0; i < 40; ++i) {
            stamps_.delivered.push_back(true);
            stamps_.written.push_back(int64_t{50000} * i);
        }
        Observe();
    }
    void Observe() {
        const ExpectedEffects effects = ExpectEffects(steps_, WholeTabletWithContext(), &stamps_.delivered);
        seen_ = ProbeObservations{};
        seen_.cursorX = seen_.cursorY = 1;
        seen_.wintab = true;
        uint32_t unobservable = 0;
        for (const Expected& e : PointerExpectations(effects, seen_.screen, 1, 1, unobservable))
            seen_.pointer.push_back({e.kind, e.x, e.y, stamps_.written[e.report] + 1000, 0});
        for (const Expected& e : PacketExpectations(effects))
            seen_.packets.push_back(
                {e.kind, e.x, e.y, stamps_.written[e.report] + 1000, stamps_.written[e.report] + 1500});
    }
    std::string Summary() const {
        return FormatFindings(Analyse(steps_, WholeTabletWithContext(), stamps_, seen_), stamps_);
    }

    std::vector<pz::ScriptStep> steps_;
    WriteStamps stamps_;
    ProbeObservations seen_;
};

// 39 reports in range and the out-of-range report, whose packet tells the client of the leave.
TEST_F(Findings, EveryChangedSampleAnsweredWithItsLatency) {
    const std::string summary = Summary();
    for (const char* line :
         {"reports=40\n", "reports_sent=40\n", "changed_samples=40\n", "changed_samples_unanswered=0\n",
          "pointer_events=39\n", "pointer_missing=0\n", "pointer_p50_ms=0.100\n", "pointer_max_ms=0.100\n",
          "wintab=1\n", "packet_missing=0\n", "packet_extra=0\n", "packet_unread=0\n", "packet_p99_ms=0.100\n",
          "packet_read_p99_ms=0.150\n"})
        EXPECT_NE(summary.find(line), std::string::npos) << line << " in\n" << summary;
}

TEST_F(Findings, ALostPacketLeavesItsSampleUnanswered) {
    seen_.packets.erase(seen_.packets.begin() + 17);
    const std::string summary = Summary();
    EXPECT_NE(summary.find("changed_samples_unanswered=1\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("packet_missing=1\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("pointer_missing=0\n"), std::string::npos) << summary;
}

// A report played while the device was unplugged never reached the service: the later samples are
// smoothed without it.
TEST_F(Findings, AReportNeverSentIsNotExpectedToCauseAnything) {
    stamps_.delivered[20] = false;
    Observe();
    const std::string summary = Summary();
    EXPECT_NE(summary.find("reports_sent=39\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("changed_samples=39\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("changed_samples_unanswered=0\n"), std::string::npos) << summary;
}

TEST(ProbeOptions, NeedsTheScriptAndTheStampsUnlessItWritesTheStroke) {
    ProbeOptions options;
    std::string error;
    EXPECT_FALSE(ParseProbeOptions({"--script", "s.txt"}, options, error));
    EXPECT_FALSE(ParseProbeOptions({}, options, error));
    ProbeOptions counting;
    ASSERT_TRUE(ParseProbeOptions({"--duration", "5000", "--summary", "C:\\probe.txt"}, counting, error)) << error;
    EXPECT_EQ(counting.durationMs, 5000u);
    EXPECT_EQ(counting.summaryPath, "C:\\probe.txt");
    ASSERT_TRUE(ParseProbeOptions({"--script", "s.txt", "--stamps", "t.log", "--product", "0x8001", "--no-wintab"},
                                  options, error))
        << error;
    EXPECT_EQ(options.productId, 0x8001);
    EXPECT_FALSE(options.wintab);
    ProbeOptions stroke;
    ASSERT_TRUE(
        ParseProbeOptions({"--write-stroke", "s.txt", "--reports", "100", "--interval-ms", "1"}, stroke, error));
    EXPECT_EQ(stroke.strokeReports, 100u);
    EXPECT_EQ(stroke.strokeIntervalMs, 1u);
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--write-stroke", "s", "--reports", "0"},
                                               {"--write-stroke", "s", "--product", "0x10000"},
                                               {"--write-stroke", "s", "--timeout-ms", "-1"},
                                               {"--write-stroke", "s", "--speed", "3"},
                                               {"--write-stroke"}}) {
        ProbeOptions ignored;
        EXPECT_FALSE(ParseProbeOptions(bad, ignored, error)) << bad[2 % bad.size()];
    }
}

}  // namespace
}  // namespace pzbench
