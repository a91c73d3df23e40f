// The live KeySetRecord: the named KeySetBlock every program of the session can map, or a private buffer
// when the block cannot be created (the settings program then shows no key pages).
#pragma once

#include "records.h"

namespace ktkey {

// Creates or opens the block, maps it and loads the key file into it (the defaults when the file is
// missing or too short). Called on process attach.
void AttachKeySet();
// Unmaps and closes the block. Called on process detach.
void DetachKeySet();
// The record; valid between attach and detach. Read afresh for every key event.
pz::KeySetRecord& KeySet();

}  // namespace ktkey
