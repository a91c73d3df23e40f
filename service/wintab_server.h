// The service's side of the Wintab connection: the control block, the listener that accepts connection
// requests, and one thread per connected client that owns the client's context block.
#pragma once

namespace ktpen {

// Creates the request and sync events and the control block, publishes them with the process id, and
// starts the listener. False when the control block cannot be created: the service cannot go on.
bool CreateWintabControlBlock();

// Once the stop event is set and the tablet threads have ended: waits for the listener and every client
// thread, then releases the control block and the events. Nothing is current afterwards.
void CloseWintabServer();

}  // namespace ktpen
