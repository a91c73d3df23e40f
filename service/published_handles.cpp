#include "published_handles.h"

#include <cstdint>
#include <initializer_list>

namespace ktpen {
namespace {

HANDLE DuplicateOwn(HANDLE handle) {
    HANDLE copy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return nullptr;
    return copy;
}

void CloseAll(ConnectionHandles& set) {
    for (HANDLE* handle : {&set.mapping, &set.closeEvent, &set.commandEvent, &set.clientEvent}) {
        if (*handle != nullptr) CloseHandle(*handle);
        *handle = nullptr;
    }
}

uint32_t HandleValue(HANDLE handle) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
}

}  // namespace

bool PublishedHandles::Publish(pz::WintabControlBlock& control, const ConnectionHandles& connection) {
    ConnectionHandles copies{DuplicateOwn(connection.mapping), DuplicateOwn(connection.closeEvent),
                             DuplicateOwn(connection.commandEvent), DuplicateOwn(connection.clientEvent)};
    if (copies.mapping == nullptr || copies.closeEvent == nullptr || copies.commandEvent == nullptr ||
        copies.clientEvent == nullptr) {
        CloseAll(copies);
        return false;
    }
    control.ContextMappingHandle = HandleValue(copies.mapping);
    control.CloseEventHandle = HandleValue(copies.closeEvent);
    control.CommandEventHandle = HandleValue(copies.commandEvent);
    control.ClientEventHandle = HandleValue(copies.clientEvent);
    CloseAll(handles_);
    handles_ = copies;
    return true;
}

void PublishedHandles::Release() {
    CloseAll(handles_);
}

}  // namespace ktpen
