// latency_probe.exe: end-to-end latency of the tablet service, from the simulated tablet's write of a
// report to the pointer event on the desktop and to the Wintab packet in a client. Runs in the user's
// session beside ktpen-sim.exe and simhid.exe (bench/latency/run-latency.sh runs all three).
//
//   latency_probe --script FILE --stamps FILE [--product PID] [--report-length N] [--no-wintab]
//                 [--timeout-ms MS] [--settle-ms MS] [--summary FILE]
//   latency_probe --duration MS [--no-wintab] [--summary FILE]
//   latency_probe --write-stroke FILE [--reports N] [--interval-ms MS]
//
// --script     the report script simhid plays (any script: the probe runs it through the pen pipeline to
//              know which pointer events and packets each report must cause)
// --stamps     the --stamp-log file of that simhid; its appearance ends the watch
// --duration   without a script: watch for MS and count what arrives (no pairing, no latency)
// --summary    write the findings to FILE as well as to standard output
// --product, --report-length   the simulated tablet (default 0x8201, 8 bytes)
// --no-wintab  watch the pointer only; otherwise a context is opened through the Wintab32.dll beside
//              this program
// --timeout-ms how long to wait for the stamp log (default 600000); --settle-ms how long to keep
//              watching after it appeared (default 1000)
// --write-stroke  write the benchmark stroke (N reports, default 10000, one every MS, default 5) and end
//
// The newest Wintab client gets the pen: beside another client (a drawing program) use --no-wintab, or
// that client's packets stop while the probe runs.
//
// Prints "ready" once the hook and the context are in place (start simhid after it), then the findings
// as key=value lines: reports, reports_sent, changed_samples (reports that must cause a pointer event or
// a packet), changed_samples_unanswered (those that lack one), pointer_unobservable (moves onto the pixel the
// pointer stood on), pointer_expected, pointer_events, pointer_missing, pointer_extra, pointer_p50_ms,
// pointer_p99_ms, pointer_max_ms, wintab, and with wintab=1 packet_expected, packets, packet_missing,
// packet_extra, packet_unread (WT_PACKET messages whose packet WTPacket could not read), packet_p50_ms.. (at WT_PACKET)
// and packet_read_p50_ms.. (once WTPacket read it). Without a script: pointer_events, wintab, packets and packet_unread
// only. Exit status 0 when every changed sample was answered, 1 otherwise, 2 for bad options, 3 when the stamp log
// never came.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "latency_report.h"
#include "object_names.h"
#include "packet_watch.h"
#include "pointer_watch.h"
#include "probe_options.h"
#include "records.h"
#include "service_object_open.h"
#include "stroke_script.h"
#include "tablet_tables.h"

namespace {

constexpr DWORD kPollMs = 100;
constexpr DWORD kWintabOpenTimeoutMs = 30000;

bool ReadText(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    return true;
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    return file && (file << text) && file.flush();
}

std::string BesideThisProgram(const char* fileName) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path, length);
    return directory.substr(0, directory.find_last_of("\\/") + 1) + fileName;
}

bool WaitForFile(const std::string& path, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(kPollMs);
    }
    return true;
}

// The tablet from the device table, the active area and pressure from the service's settings block.
pzbench::PipelineSetup SetupOfService(const pzbench::ProbeOptions& options) {
    pzbench::PipelineSetup setup;
    setup.tablet.reportLength = options.reportLength;
    if (const pz::DeviceRow* row = pz::FindDeviceRow(pz::kVendorId, options.productId, options.reportLength)) {
        setup.tablet.pressureMaximum = row->PressureMaximum;
        setup.tablet.ownLeaveReport = row->OwnLeaveReport != 0;
    }
    HANDLE mapping = pz::OpenServiceObject(pz::ServiceObjectKind::kMapping, pz::kControlPanelBlockName, FILE_MAP_READ);
    setup.withSettings = mapping != nullptr;
    if (mapping == nullptr) return setup;
    if (const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, pz::kControlPanelBlockSize)) {
        const pz::SettingsRecord& r = static_cast<const pz::ControlPanelBlock*>(view)->Record;
        setup.areaLeft = r.AreaLeft;
        setup.areaTop = r.AreaTop;
        setup.areaRight = r.AreaRight;
        setup.areaBottom = r.AreaBottom;
        setup.pressureLevel = r.PressureLevel;
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return setup;
}

void AddContext(const wintab::LOGCONTEXTA& context, pzbench::PipelineSetup& setup) {
    setup.withContext = true;
    setup.contextOptions = context.lcOptions;
    setup.outOrgX = context.lcOutOrgX;
    setup.outOrgY = context.lcOutOrgY;
    setup.outExtX = context.lcOutExtX;
    setup.outExtY = context.lcOutExtY;
}

int WriteStroke(const pzbench::ProbeOptions& options) {
    const std::string script = pzbench::MakeStrokeScript({options.strokeReports, options.strokeIntervalMs});
    if (WriteText(options.strokePath, script)) return 0;
    std::fprintf(stderr, "latency_probe: cannot write %s\n", options.strokePath.c_str());
    return 1;
}

// Installs the hook and opens the context; the pointer stands off the stroke, so that its first move is
// a change.
bool StartWatching(const pzbench::ProbeOptions& options, PointerWatch& pointer, PacketWatch& packets,
                   pzbench::ProbeObservations& seen) {
    if (!pointer.Start()) {
        std::fprintf(stderr, "latency_probe: cannot install the mouse hook\n");
        return false;
    }
    SetCursorPos(1, 1);
    POINT cursor;
    GetCursorPos(&cursor);
    seen.cursorX = cursor.x;
    seen.cursorY = cursor.y;
    seen.screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                   GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    std::string error;
    seen.wintab = options.wintab && packets.Start(BesideThisProgram("Wintab32.dll"), kWintabOpenTimeoutMs, error);
    if (options.wintab && !seen.wintab) std::fprintf(stderr, "latency_probe: %s\n", error.c_str());
    std::printf("ready\n");
    std::fflush(stdout);
    return true;
}

// The pairing of a scripted run: the script's effects against what arrived.
int Findings(const pzbench::ProbeOptions& options, const std::vector<pz::ScriptStep>& steps, const PacketWatch& packets,
             const pzbench::ProbeObservations& seen, std::string& summary) {
    std::string text;
    pzbench::WriteStamps stamps;
    if (!ReadText(options.stampsPath, text) || !pzbench::ParseStampLog(text, stamps)) {
        std::fprintf(stderr, "latency_probe: malformed stamp log %s\n", options.stampsPath.c_str());
        return 3;
    }
    pzbench::PipelineSetup setup = SetupOfService(options);
    if (seen.wintab) AddContext(packets.Context(), setup);
    const pzbench::ProbeFindings findings = pzbench::Analyse(steps, setup, stamps, seen);
    summary = pzbench::FormatFindings(findings, stamps);
    return pzbench::UnansweredSamples(findings) == 0 ? 0 : 1;
}

int Watch(const pzbench::ProbeOptions& options) {
    std::string text;
    std::vector<pz::ScriptStep> steps;
    pz::ScriptError error;
    const bool scripted = !options.scriptPath.empty();
    if (scripted && (!ReadText(options.scriptPath, text) ||
                     !pz::ParseReportScript(text, pz::ScriptDialect::Device, steps, error))) {
        std::fprintf(stderr, "latency_probe: cannot read the script %s (line %d: %s)\n", options.scriptPath.c_str(),
                     error.line, error.message.c_str());
        return 2;
    }
    // Room for every event of the script, so that the watch threads allocate nothing while they stamp.
    PointerWatch pointer(steps.size() * 2 + 4096);
    PacketWatch packets(steps.size() + 4096);
    pzbench::ProbeObservations seen;
    if (!StartWatching(options, pointer, packets, seen)) return 1;
    if (!scripted) {
        Sleep(options.durationMs);
    } else if (!WaitForFile(options.stampsPath, options.timeoutMs)) {
        std::fprintf(stderr, "latency_probe: no stamp log %s\n", options.stampsPath.c_str());
        return 3;
    } else {
        Sleep(options.settleMs);
    }
    pointer.Stop();
    packets.Stop();
    seen.pointer = pointer.Arrivals();
    seen.packets = packets.Arrivals();
    seen.packetsUnread = packets.Unread();

    std::string summary =
        pzbench::FormatCounts(seen.pointer.size(), seen.wintab, seen.packets.size(), seen.packetsUnread);
    const int status = scripted ? Findings(options, steps, packets, seen, summary) : 0;
    std::printf("%s", summary.c_str());
    std::fflush(stdout);
    if (!options.summaryPath.empty() && !WriteText(options.summaryPath, summary)) {
        std::fprintf(stderr, "latency_probe: cannot write %s\n", options.summaryPath.c_str());
        return 1;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    pzbench::ProbeOptions options;
    std::string error;
    if (!pzbench::ParseProbeOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "latency_probe: %s\n", error.c_str());
        return 2;
    }
    return options.strokePath.empty() ? Watch(options) : WriteStroke(options);
}
