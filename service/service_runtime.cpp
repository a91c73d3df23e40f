#include "service_runtime.h"

namespace ktpen {

ServiceEvents g_events;

Win32PlatformPort& Port() {
    static Win32PlatformPort port;
    return port;
}

PenPipeline& Pipeline() {
    static PenPipeline pipeline(Port());
    return pipeline;
}

}  // namespace ktpen
