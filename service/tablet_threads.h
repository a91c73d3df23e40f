// The reader thread, which reads the tablet's reports and hands them to the pen pipeline, and the
// watchdog thread, which declares the pen gone after a silence on tablets without a leave report.
#pragma once

namespace ktpen {

// Starts the reader at time-critical priority; false when the thread cannot be created.
bool StartReaderThread();
// Starts the watchdog unless one is already running (it runs until the service stops).
void StartWatchdogThread();
// Wakes the reader's wait, as a stop request does before it signals the stop event.
void SignalReadCompletion();
// Waits for the reader thread to end and forgets it.
void JoinReaderThread();
// Waits for the reader and the watchdog to end; called once the stop event is signalled.
void JoinTabletThreads();

}  // namespace ktpen
