// simhid: plays a simulated HID device for ktpen-sim.exe from a report script (a file argument or
// standard input). The device is plugged from the start; script time begins when a reader first opens
// it, and a report waits for a reader while none is connected. The script's end unplugs the device.
// --stamp-log FILE writes, at the end, when each report was written (stamp_log.h), for the latency probe.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "report_script.h"
#include "sim_hid_contract.h"
#include "sim_hid_pipe.h"
#include "stamp_log.h"
#include "tablet_tables.h"

namespace {

struct Options {
    unsigned index = 0;
    // Our vendor by default: a device the services are meant to find unless told otherwise.
    pzsim::SimHidAttributes attributes{pz::kVendorId, 0, 0xFF00, 1, 8, 0};
    DWORD holdMs = 0;
    const char* scriptPath = nullptr;
    const char* stampLogPath = nullptr;
};

int Usage(const char* message) {
    std::fprintf(stderr,
                 "simhid: %s\nusage: simhid [--index I] [--vid V] [--pid P] [--usage-page U] [--usage N] "
                 "[--report-length L] [--hold MS] [--stamp-log FILE] [script]\n",
                 message);
    return 2;
}

bool ParseNumber(const char* text, unsigned long maximum, unsigned long& value) {
    char* end = nullptr;
    value = std::strtoul(text, &end, 0);  // decimal, or hexadecimal with 0x
    return *text != '\0' && *end == '\0' && value <= maximum;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name.rfind("--", 0) != 0) {
            options.scriptPath = argv[i];
            continue;
        }
        if (name == "--stamp-log" && i + 1 < argc) {
            options.stampLogPath = argv[++i];
            continue;
        }
        unsigned long value = 0;
        if (i + 1 >= argc || !ParseNumber(argv[++i], 0xFFFFFFFF, value)) return false;
        const bool word = value <= 0xFFFF;
        if (name == "--index" && value <= pzsim::kSimHidMaxIndex)
            options.index = static_cast<unsigned>(value);
        else if (name == "--vid" && word)
            options.attributes.VendorId = static_cast<uint16_t>(value);
        else if (name == "--pid" && word)
            options.attributes.ProductId = static_cast<uint16_t>(value);
        else if (name == "--usage-page" && word)
            options.attributes.UsagePage = static_cast<uint16_t>(value);
        else if (name == "--usage" && word)
            options.attributes.Usage = static_cast<uint16_t>(value);
        else if (name == "--report-length" && word)
            options.attributes.InputReportLength = static_cast<uint16_t>(value);
        else if (name == "--hold")
            options.holdMs = static_cast<DWORD>(value);
        else
            return false;
    }
    return true;
}

bool ReadScript(const char* path, std::string& text) {
    std::ostringstream content;
    if (path == nullptr) {
        content << std::cin.rdbuf();
    } else {
        std::ifstream file(path, std::ios::binary);
        if (!file) return false;
        content << file.rdbuf();
    }
    text = content.str();
    return true;
}

// The attribute block stays for the life of the tool; only the pipe comes and goes.
HANDLE PublishAttributes(unsigned index, const pzsim::SimHidAttributes& attributes) {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof attributes,
                                        pzsim::SimHidAttributesName(index).c_str());
    if (mapping == nullptr) return nullptr;
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof attributes);
    if (view == nullptr) {
        CloseHandle(mapping);
        return nullptr;
    }
    std::memcpy(view, &attributes, sizeof attributes);
    UnmapViewOfFile(view);
    return mapping;
}

void Play(const std::vector<pz::ScriptStep>& steps, SimHidPipe& device, StampLog* stamps) {
    DWORD due = GetTickCount();
    uint32_t report = 0;
    for (const pz::ScriptStep& step : steps) {
        due += step.delayMs;
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(due - now) > 0) Sleep(due - now);
        switch (step.kind) {
            case pz::ScriptStepKind::Report: {
                bool waited = false;
                int64_t written = 0;
                if (device.Send(step.bytes, waited, &written) && stamps != nullptr) stamps->Record(report, written);
                ++report;
                if (waited) {
                    std::printf("connected\n");
                    std::fflush(stdout);
                    due = GetTickCount();  // script time runs from the reader's arrival
                }
                break;
            }
            case pz::ScriptStepKind::Wait:
                break;
            case pz::ScriptStepKind::Unplug:
                device.Unplug();
                break;
            case pz::ScriptStepKind::Plug:
                device.Plug();
                break;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) return Usage("bad option");
    std::string text;
    if (!ReadScript(options.scriptPath, text)) return Usage("cannot read the script");
    std::vector<pz::ScriptStep> steps;
    pz::ScriptError error;
    if (!pz::ParseReportScript(text, pz::ScriptDialect::Device, steps, error)) {
        std::fprintf(stderr, "simhid: line %d: %s\n", error.line, error.message.c_str());
        return 2;
    }

    HANDLE attributes = PublishAttributes(options.index, options.attributes);
    SimHidPipe device(pzsim::SimHidPipeName(options.index));
    if (attributes == nullptr || !device.Plug()) {
        std::fprintf(stderr, "simhid: cannot create device %u\n", options.index);
        return 1;
    }
    StampLog stamps(steps.size());
    Play(steps, device, options.stampLogPath != nullptr ? &stamps : nullptr);
    if (options.stampLogPath != nullptr && !stamps.Write(options.stampLogPath)) {
        std::fprintf(stderr, "simhid: cannot write %s\n", options.stampLogPath);
        device.Unplug();
        CloseHandle(attributes);
        return 1;
    }
    Sleep(options.holdMs);
    device.Unplug();
    CloseHandle(attributes);
    return 0;
}
