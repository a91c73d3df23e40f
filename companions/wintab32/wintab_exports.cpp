// The Wintab functions for information, opening, closing and editing contexts, and the maker's
// extension entry 911.
#include <algorithm>
#include <cstring>

#include "context_registry.h"
#include "info_answers.h"
#include "object_names.h"
#include "relay_window.h"
#include "service_object_open.h"
#include "wintab_api.h"
#include "wintab_constants.h"

using namespace wt32;

namespace {

constexpr uint32_t kSaveMagic = 0x54575A50;  // "PZWT"

struct SavedContext {
    uint32_t magic;
    uint32_t queueSize;
    wintab::LOGCONTEXTA context;
};
static_assert(sizeof(SavedContext) == kContextSaveSize, "WTSave writes IFC_CTXSAVESIZE bytes");

// WTOpen and WTClose run one at a time, so the relay thread starts and ends with the first and last context.
CRITICAL_SECTION* LifecycleLock() {
    static CRITICAL_SECTION lock;
    static const bool ready = (InitializeCriticalSection(&lock), true);
    (void)ready;
    return &lock;
}

// The opened tablet's size and product, from the settings block when the service has one.
void ReadTabletProperties(InfoEnvironment& env) {
    HANDLE mapping = pz::OpenServiceObject(pz::ServiceObjectKind::kMapping, pz::kControlPanelBlockName, FILE_MAP_READ);
    if (mapping == nullptr) return;
    const auto* block = static_cast<const pz::ControlPanelBlock*>(
        MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(pz::ControlPanelBlock)));
    if (block != nullptr) {
        env.tabletWidthInches = block->Tablet.WidthInches;
        env.tabletHeightInches = block->Tablet.HeightInches;
        env.productId = block->Tablet.ProductId;
        UnmapViewOfFile(block);
    }
    CloseHandle(mapping);
}

InfoEnvironment Environment(uint32_t category) {
    InfoEnvironment env;
    env.screenLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
    env.screenTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
    env.screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    env.screenHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (category == WTI_DEVICES || category == 0) ReadTabletProperties(env);
    RegistryLock lock;
    for (const auto& context : OpenContexts()) {
        ++env.openContexts;
        if (context->state.Context().lcOptions & wintab::CXO_SYSTEM) ++env.openSystemContexts;
        env.openPacketData |= context->state.Context().lcPktData;
    }
    return env;
}

UINT Info(UINT category, UINT index, LPVOID output, bool wide) {
    const InfoEnvironment env = Environment(category);
    if (category == 0) return LargestInfoAnswer(wide, env);
    const std::vector<uint8_t> answer = InfoAnswer(category, index, wide, env);
    if (output != nullptr && !answer.empty()) std::memcpy(output, answer.data(), answer.size());
    return static_cast<UINT>(answer.size());
}

HCTX ToHandle(uintptr_t handle) {
    return reinterpret_cast<HCTX>(handle);
}

// Puts `context` on top of this process's contexts and makes it the service's current one.
void BringToTop(OpenContext& context) {
    auto& contexts = OpenContexts();
    for (size_t i = 0; i < contexts.size(); ++i) {
        if (contexts[i].get() != &context) continue;
        std::unique_ptr<OpenContext> moved = std::move(contexts[i]);
        contexts.erase(contexts.begin() + i);
        contexts.insert(contexts.begin(), std::move(moved));
        break;
    }
    context.link.Send(context.enabled ? pz::kCommandEnable : pz::kCommandMakeCurrent);
}

HCTX Open(HWND window, const wintab::LOGCONTEXTA& requested, BOOL enable) {
    EnterCriticalSection(LifecycleLock());
    auto context = std::make_unique<OpenContext>(requested);
    HWND relay = RelayWindow();
    HCTX handle = nullptr;
    if (relay != nullptr && context->link.Connect(relay, ServiceContextFor(requested))) {
        context->handle = NextContextHandle();
        context->window = window;
        context->enabled = enable != FALSE;
        context->state.Queue().Resize(kDefaultQueueSize);
        // A new connection is already the service's current context, not yet enabled.
        if (context->enabled) context->link.Send(pz::kCommandEnable);
        RegistryLock lock;
        OpenContext* opened = context.get();
        OpenContexts().insert(OpenContexts().begin(), std::move(context));
        handle = ToHandle(opened->handle);
        PostToProgram(*opened, kMsgCtxOpen, reinterpret_cast<WPARAM>(handle), ContextStatus(*opened));
    }
    LeaveCriticalSection(LifecycleLock());
    return handle;
}

}  // namespace

extern "C" {

UINT WINAPI WTInfoA(UINT category, UINT index, LPVOID output) {
    return Info(category, index, output, false);
}
UINT WINAPI WTInfoW(UINT category, UINT index, LPVOID output) {
    return Info(category, index, output, true);
}

HCTX WINAPI WTOpenA(HWND window, wintab::LOGCONTEXTA* context, BOOL enable) {
    if (context == nullptr) return nullptr;
    return Open(window, *context, enable);
}

HCTX WINAPI WTOpenW(HWND window, LPVOID context, BOOL enable) {
    if (context == nullptr) return nullptr;
    return Open(window, NarrowContext(*static_cast<const LOGCONTEXTW*>(context)), enable);
}

BOOL WINAPI WTClose(HCTX handle) {
    EnterCriticalSection(LifecycleLock());
    std::unique_ptr<OpenContext> closed;
    bool last = false;
    {
        RegistryLock lock;
        auto& contexts = OpenContexts();
        for (size_t i = 0; i < contexts.size(); ++i) {
            if (contexts[i]->handle != reinterpret_cast<uintptr_t>(handle)) continue;
            closed = std::move(contexts[i]);
            contexts.erase(contexts.begin() + i);
            break;
        }
        last = contexts.empty();
    }
    if (closed != nullptr) {
        closed->link.Disconnect();
        PostToProgram(*closed, kMsgCtxClose, reinterpret_cast<WPARAM>(handle), 0);
        if (last) StopRelay();
    }
    LeaveCriticalSection(LifecycleLock());
    return closed != nullptr;
}

BOOL WINAPI WTEnable(HCTX handle, BOOL enable) {
    RegistryLock lock;
    OpenContext* context = FindContext(handle);
    if (context == nullptr) return FALSE;
    context->enabled = enable != FALSE;
    // 257 hands the current context to the first other client of the service, whichever program has it.
    context->link.Send(context->enabled ? pz::kCommandEnable : pz::kCommandDisable);
    return TRUE;
}

BOOL WINAPI WTOverlap(HCTX handle, BOOL toTop) {
    RegistryLock lock;
    OpenContext* context = FindContext(handle);
    if (context == nullptr) return FALSE;
    auto& contexts = OpenContexts();
    if (toTop) {
        BringToTop(*context);
    } else if (contexts.size() > 1 && contexts.front().get() == context) {
        // Another context of this process takes the top; other programs' contexts are out of reach.
        std::rotate(contexts.begin(), contexts.begin() + 1, contexts.end());
        contexts.front()->link.Send(contexts.front()->enabled ? pz::kCommandEnable : pz::kCommandMakeCurrent);
    }
    PostToProgram(*context, kMsgCtxOverlap, reinterpret_cast<WPARAM>(handle), ContextStatus(*context));
    return TRUE;
}

BOOL WINAPI WTConfig(HCTX, HWND) {
    return FALSE;
}  // no configuration dialog: the settings program has it

BOOL WINAPI WTGetA(HCTX handle, wintab::LOGCONTEXTA* out) {
    RegistryLock lock;
    OpenContext* context = FindContext(handle);
    if (context == nullptr || out == nullptr) return FALSE;
    *out = context->state.Context();
    out->lcStatus = ContextStatus(*context);
    return TRUE;
}

BOOL WINAPI WTGetW(HCTX handle, LPVOID out) {
    wintab::LOGCONTEXTA narrow{};
    if (out == nullptr || !WTGetA(handle, &narrow)) return FALSE;
    *static_cast<LOGCONTEXTW*>(out) = WidenContext(narrow);
    return TRUE;
}

BOOL WINAPI WTSetA(HCTX handle, wintab::LOGCONTEXTA* in) {
    RegistryLock lock;
    OpenContext* context = FindContext(handle);
    if (context == nullptr || in == nullptr) return FALSE;
    context->state.SetContext(*in);
    context->state.Queue().Flush();  // queued packets were made for the old context
    context->link.WriteContext(ServiceContextFor(*in));
    PostToProgram(*context, kMsgCtxUpdate, reinterpret_cast<WPARAM>(handle), ContextStatus(*context));
    return TRUE;
}

BOOL WINAPI WTSetW(HCTX handle, LPVOID in) {
    if (in == nullptr) return FALSE;
    wintab::LOGCONTEXTA narrow = NarrowContext(*static_cast<const LOGCONTEXTW*>(in));
    return WTSetA(handle, &narrow);
}

BOOL WINAPI WTExtGet(HCTX, UINT, LPVOID) {
    return FALSE;
}  // no extensions
BOOL WINAPI WTExtSet(HCTX, UINT, LPVOID) {
    return FALSE;
}

BOOL WINAPI WTSave(HCTX handle, LPVOID saveInfo) {
    RegistryLock lock;
    OpenContext* context = FindContext(handle);
    if (context == nullptr || saveInfo == nullptr) return FALSE;
    SavedContext saved{kSaveMagic, context->state.Queue().Capacity(), context->state.Context()};
    saved.context.lcStatus = ContextStatus(*context);
    std::memcpy(saveInfo, &saved, sizeof saved);
    return TRUE;
}

HCTX WINAPI WTRestore(HWND window, LPVOID saveInfo, BOOL enable) {
    if (saveInfo == nullptr) return nullptr;
    SavedContext saved;
    std::memcpy(&saved, saveInfo, sizeof saved);
    if (saved.magic != kSaveMagic) return nullptr;
    HCTX handle = Open(window, saved.context, enable);
    if (handle != nullptr) WTQueueSizeSet(handle, static_cast<int>(saved.queueSize));
    return handle;
}

BOOL WINAPI WTPzFocus(DWORD request) {
    RegistryLock lock;
    if (OpenContexts().empty() || (request != 4 && request != 5)) return FALSE;
    OpenContext& top = *OpenContexts().front();
    // 4: the top context takes the pen (current and enabled); 5: the pen goes to the service's first other
    // client. The program's own enable state stays, so the next WTOverlap to the top takes the pen back.
    top.link.Send(request == 4 ? pz::kCommandEnable : pz::kCommandDisable);
    return TRUE;
}

}  // extern "C"
