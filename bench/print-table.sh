#!/usr/bin/env bash
# One table of every benchmark figure: the pipeline's Google Benchmark results (CSV of --benchmark_out)
# and the end-to-end latencies of bench/latency/run-latency.sh.  usage: print-table.sh PIPELINE.csv LATENCY.txt
set -uo pipefail
csv="$1" latency="$2"

echo "| figure | value |"
echo "|---|---|"
if [ -f "$csv" ]; then
  # name,iterations,real_time,cpu_time,time_unit,...: the CPU time per call.
  awk -F, '/^"BM_/ { gsub(/"/, "", $1); sub(/^BM_/, "", $1); printf "| %s | %.1f %s |\n", $1, $4, $5 }' "$csv"
fi
[ -f "$latency" ] || exit 0
awk -F= '
  $1 == "rate_hz" { rate = $2; next }
  { v[rate, $1] = $2; if (!(rate in seen)) { seen[rate] = 1; order[++n] = rate } }
  function triple(r, p) { return v[r, p "_p50_ms"] " / " v[r, p "_p99_ms"] " / " v[r, p "_max_ms"] " ms" }
  END {
    for (i = 1; i <= n; ++i) {
      r = order[i]
      printf "| %s Hz: report to pointer event, p50 / p99 / max | %s |\n", r, triple(r, "pointer")
      if (v[r, "wintab"] == 1) {
        printf "| %s Hz: report to WT_PACKET, p50 / p99 / max | %s |\n", r, triple(r, "packet")
        printf "| %s Hz: report to packet read, p50 / p99 / max | %s |\n", r, triple(r, "packet_read")
      }
      printf "| %s Hz: changed samples without event or packet | %s of %s |\n", r,
             v[r, "changed_samples_unanswered"], v[r, "changed_samples"]
    }
  }' "$latency"
