// Carrying out the keys: the key handler run for every keypad report, and the one action of a key.
#pragma once

#include <cstdint>

#include "key_report_rules.h"
#include "records.h"

namespace ktkey {

// Compares g_currentReport with g_previousReport, performs what changed in each group, then keeps the
// current report as the previous one.
void HandleKeypadReport();

// Performs `action` of the key numbered `keyNumber` (its LaunchEntry is the same key's in the same group).
void RunKeyAction(pz::KeyAction action, KeyMode mode, uint32_t keyNumber);

}  // namespace ktkey
