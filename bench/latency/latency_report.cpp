#include "latency_report.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <set>
#include <sstream>

namespace pzbench {
namespace {

constexpr uint64_t kMaxStampedReports = 1u << 24;

Expected PointerExpected(const ExpectedPointer& p, const ScreenGeometry& screen) {
    const bool move = p.action == PointerAction::Move;
    return {p.report, static_cast<uint32_t>(p.action), move ? PixelX(p.dx, screen) : 0, move ? PixelY(p.dy, screen) : 0,
            !move};
}

// Latencies of the pairs whose report has a write stamp, in microseconds; `read` picks the second stamp.
std::vector<double> Latencies(const std::vector<Pair>& pairs, const WriteStamps& stamps, bool read) {
    std::vector<double> values;
    values.reserve(pairs.size());
    for (const Pair& pair : pairs) {
        if (pair.report >= stamps.delivered.size() || !stamps.delivered[pair.report]) continue;
        const int64_t ticks = (read ? pair.read : pair.stamp) - stamps.written[pair.report];
        values.push_back(static_cast<double>(ticks) * 1e6 / static_cast<double>(stamps.frequency));
    }
    return values;
}

// Milliseconds with three decimals: the microsecond is the resolution that matters here.
void AddPercentiles(std::ostringstream& out, const char* prefix, const Percentiles& p) {
    char text[160];
    std::snprintf(text, sizeof text, "%s_p50_ms=%.3f\n%s_p99_ms=%.3f\n%s_max_ms=%.3f\n", prefix, p.p50 / 1000, prefix,
                  p.p99 / 1000, prefix, p.max / 1000);
    out << text;
}

void AddPath(std::ostringstream& out, const char* name, const char* arrivals, const PathFindings& path) {
    out << name << "_expected=" << path.expected << "\n"
        << arrivals << "=" << path.arrived << "\n"
        << name << "_missing=" << path.alignment.missingReports.size() << "\n"
        << name << "_extra=" << path.alignment.extra << "\n";
}

}  // namespace

bool ParseStampLog(const std::string& text, WriteStamps& stamps) {
    std::istringstream in(text);
    std::string line, word, rest;
    if (!std::getline(in, line)) return false;
    std::istringstream header(line);
    if (!(header >> word >> stamps.frequency) || word != "frequency" || stamps.frequency <= 0 || header >> rest)
        return false;
    while (std::getline(in, line)) {
        std::istringstream entry(line);
        uint64_t report = 0;
        int64_t counter = 0;
        if (!(entry >> report >> counter) || entry >> rest || report >= kMaxStampedReports) return false;
        if (report >= stamps.written.size()) {
            stamps.written.resize(report + 1, 0);
            stamps.delivered.resize(report + 1, false);
        }
        stamps.written[report] = counter;
        stamps.delivered[report] = true;
    }
    return true;
}

int32_t PixelX(int32_t dx, const ScreenGeometry& screen) {
    return screen.left + static_cast<int32_t>(int64_t{dx} * screen.width / 65536);
}

int32_t PixelY(int32_t dy, const ScreenGeometry& screen) {
    return screen.top + static_cast<int32_t>(int64_t{dy} * screen.height / 65536);
}

std::vector<Expected> PointerExpectations(const ExpectedEffects& effects, const ScreenGeometry& screen, int32_t cursorX,
                                          int32_t cursorY, uint32_t& unobservable) {
    std::vector<Expected> expected;
    unobservable = 0;
    for (const ExpectedPointer& p : effects.pointer) {
        const Expected e = PointerExpected(p, screen);
        if (!e.anyPosition) {
            if (e.x == cursorX && e.y == cursorY) {
                ++unobservable;
                continue;
            }
            cursorX = e.x;
            cursorY = e.y;
        }
        expected.push_back(e);
    }
    return expected;
}

std::vector<Expected> PacketExpectations(const ExpectedEffects& effects) {
    std::vector<Expected> expected;
    expected.reserve(effects.packets.size());
    for (const ExpectedPacket& p : effects.packets) expected.push_back({p.report, p.buttons, p.x, p.y, false});
    return expected;
}

Percentiles Summarize(std::vector<double> values) {
    Percentiles result;
    result.count = values.size();
    if (values.empty()) return result;
    std::sort(values.begin(), values.end());
    const auto rank = [&](double fraction) {
        const size_t n = static_cast<size_t>(std::ceil(fraction * values.size()));
        return values[std::max<size_t>(n, 1) - 1];
    };
    result.p50 = rank(0.50);
    result.p99 = rank(0.99);
    result.max = values.back();
    return result;
}

ProbeFindings Analyse(const std::vector<pz::ScriptStep>& steps, const PipelineSetup& setup, const WriteStamps& stamps,
                      const ProbeObservations& seen) {
    const ExpectedEffects effects = ExpectEffects(steps, setup, &stamps.delivered);
    ProbeFindings findings;
    findings.reports = effects.reports;
    findings.delivered = static_cast<uint32_t>(std::count(stamps.delivered.begin(), stamps.delivered.end(), true));
    std::set<uint32_t> changed;
    for (const ExpectedPointer& p : effects.pointer) changed.insert(p.report);
    for (const ExpectedPacket& p : effects.packets) changed.insert(p.report);
    findings.changedSamples = static_cast<uint32_t>(changed.size());

    const std::vector<Expected> pointer =
        PointerExpectations(effects, seen.screen, seen.cursorX, seen.cursorY, findings.pointerUnobservable);
    findings.pointer = {pointer.size(), seen.pointer.size(), Align(pointer, seen.pointer, kPixelTolerance)};
    findings.wintab = seen.wintab;
    findings.packetsUnread = seen.packetsUnread;
    if (seen.wintab) {
        const std::vector<Expected> packets = PacketExpectations(effects);
        findings.packets = {packets.size(), seen.packets.size(), Align(packets, seen.packets, kPacketTolerance)};
    }
    return findings;
}

size_t UnansweredSamples(const ProbeFindings& findings) {
    std::set<uint32_t> unanswered(findings.pointer.alignment.missingReports.begin(),
                                  findings.pointer.alignment.missingReports.end());
    if (findings.wintab)
        unanswered.insert(findings.packets.alignment.missingReports.begin(),
                          findings.packets.alignment.missingReports.end());
    return unanswered.size();
}

std::string FormatCounts(size_t pointerEvents, bool wintab, size_t packets, size_t packetsUnread) {
    std::ostringstream out;
    out << "pointer_events=" << pointerEvents << "\n"
        << "wintab=" << (wintab ? 1 : 0) << "\n";
    if (wintab)
        out << "packets=" << packets << "\n"
            << "packet_unread=" << packetsUnread << "\n";
    return out.str();
}

std::string FormatFindings(const ProbeFindings& findings, const WriteStamps& stamps) {
    std::ostringstream out;
    out << "reports=" << findings.reports << "\n"
        << "reports_sent=" << findings.delivered << "\n"
        << "changed_samples=" << findings.changedSamples << "\n"
        << "changed_samples_unanswered=" << UnansweredSamples(findings) << "\n"
        << "pointer_unobservable=" << findings.pointerUnobservable << "\n";
    AddPath(out, "pointer", "pointer_events", findings.pointer);
    AddPercentiles(out, "pointer", Summarize(Latencies(findings.pointer.alignment.pairs, stamps, false)));
    out << "wintab=" << (findings.wintab ? 1 : 0) << "\n";
    if (findings.wintab) {
        AddPath(out, "packet", "packets", findings.packets);
        out << "packet_unread=" << findings.packetsUnread << "\n";
        AddPercentiles(out, "packet", Summarize(Latencies(findings.packets.alignment.pairs, stamps, false)));
        AddPercentiles(out, "packet_read", Summarize(Latencies(findings.packets.alignment.pairs, stamps, true)));
    }
    return out.str();
}

}  // namespace pzbench
