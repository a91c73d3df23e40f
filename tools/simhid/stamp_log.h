// The stamp log of simhid --stamp-log: when each report was written, for latency measurements. Text, one
// line per delivered report after a header:
//   frequency F           (performance counter ticks per second)
//   I C                   (report I of the script, counting report lines from 0; counter C just before
//                          the write)
// The file appears complete or not at all: it is written under another name and then renamed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class StampLog {
  public:
    // Room for `reports` entries, so that recording allocates nothing while reports are played.
    explicit StampLog(size_t reports) { entries_.reserve(reports); }
    void Record(uint32_t report, int64_t counter) { entries_.push_back({report, counter}); }
    bool Write(const std::string& path) const;

  private:
    struct Entry {
        uint32_t report;
        int64_t counter;
    };
    std::vector<Entry> entries_;
};
