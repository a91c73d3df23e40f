// Process-wide state of the tablet service shared by its threads: the events that end them, and the
// pen pipeline with its Win32 platform.
#pragma once

#include <windows.h>

#include "pen_pipeline.h"
#include "win32_platform_port.h"

namespace ktpen {

struct ServiceEvents {
    HANDLE stop = nullptr;         // the one signal to end
    HANDLE readerEnded = nullptr;  // the reader thread has left its loop
    HANDLE readerDone = nullptr;   // the same, or a stop request
};

// Created by Run, signalled by OnStop and the reader, kept for the life of the process.
extern ServiceEvents g_events;

Win32PlatformPort& Port();
PenPipeline& Pipeline();

}  // namespace ktpen
