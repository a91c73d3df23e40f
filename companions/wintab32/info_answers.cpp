#include "info_answers.h"

#include <cstring>

#include "wintab_constants.h"

namespace wt32 {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kFix32One = 0x10000;
constexpr uint32_t kLastIndex[] = {0, 10, 8};  // items of WTI_INTERFACE and WTI_STATUS
constexpr uint32_t kDeviceItems = DVC_PNPID;
constexpr uint32_t kCursorItems = CSR_TYPE;

void Put(Bytes& out, const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
}
void Put32(Bytes& out, uint32_t value) {
    Put(out, &value, 4);
}
void Put16(Bytes& out, uint16_t value) {
    Put(out, &value, 2);
}
void Put8(Bytes& out, uint8_t value) {
    out.push_back(value);
}
void PutAxis(Bytes& out, int32_t min, int32_t max, uint32_t units, uint32_t resolution) {
    const AXIS axis{min, max, units, resolution};
    Put(out, &axis, sizeof axis);
}

// Strings of several names end with an extra terminator.
void PutStrings(Bytes& out, const char* const* names, size_t count, bool wide, bool multi) {
    for (size_t n = 0; n < count; ++n) {
        for (const char* c = names[n];; ++c) {
            if (wide)
                Put16(out, static_cast<uint8_t>(*c));
            else
                Put8(out, static_cast<uint8_t>(*c));
            if (*c == '\0') break;
        }
    }
    if (multi) wide ? Put16(out, 0) : Put8(out, 0);
}
void PutString(Bytes& out, const char* text, bool wide) {
    PutStrings(out, &text, 1, wide, false);
}

void SetName(wintab::LOGCONTEXTA& context, const char* name) {
    std::strncpy(context.lcName, name, sizeof context.lcName - 1);
}

void PutInterface(Bytes& out, uint32_t index, bool wide) {
    switch (index) {
        case IFC_WINTABID:
            return PutString(out, "PzTablet Wintab", wide);
        case IFC_SPECVERSION:
            return Put16(out, 0x0101);
        case IFC_IMPLVERSION:
            return Put16(out, 0x0100);
        case IFC_NDEVICES:
            return Put32(out, 1);
        case IFC_NCURSORS:
            return Put32(out, kCursorCount);
        case IFC_NCONTEXTS:
            return Put32(out, kMaxContexts);
        case IFC_CTXOPTIONS:
            return Put32(out, kSupportedOptions);
        case IFC_CTXSAVESIZE:
            return Put32(out, kContextSaveSize);
        case IFC_NEXTENSIONS:
        case IFC_NMANAGERS:
            return Put32(out, 0);
    }
}

void PutStatus(Bytes& out, uint32_t index, const InfoEnvironment& env) {
    switch (index) {
        case STA_CONTEXTS:
            return Put32(out, env.openContexts);
        case STA_SYSCTXS:
            return Put32(out, env.openSystemContexts);
        case STA_PKTRATE:
            return Put32(out, 100);
        case STA_PKTDATA:
            return Put32(out, env.openPacketData);
        case STA_MANAGERS:
            return Put32(out, 0);
        case STA_SYSTEM:
            return Put32(out, 1);
        case STA_BUTTONUSE:
        case STA_SYSBTNUSE:
            return Put32(out, 0x3);
    }
}

// Lines per inch of an axis over the tablet's physical size (a 5 x 4 inch tablet when none is known).
uint32_t Resolution(int32_t units, uint16_t inches, uint16_t fallback) {
    return static_cast<uint32_t>(units / (inches != 0 ? inches : fallback)) * kFix32One;
}

void PutDevice(Bytes& out, uint32_t index, bool wide, const InfoEnvironment& env) {
    const uint32_t circle = 3600 * kFix32One;  // tenths of a degree
    switch (index) {
        case DVC_NAME:
            return PutString(out, "PzTablet", wide);
        case DVC_HARDWARE:
            return Put32(out, HWC_HARDPROX);
        case DVC_NCSRTYPES:
            return Put32(out, 2);
        case DVC_FIRSTCSR:
            return Put32(out, kPenCursor);
        case DVC_PKTRATE:
            return Put32(out, 100);
        case DVC_PKTDATA:
            return Put32(out, kDevicePacketData);
        case DVC_PKTMODE:
        case DVC_CSRDATA:
        case DVC_XMARGIN:
        case DVC_YMARGIN:
        case DVC_ZMARGIN:
            return Put32(out, 0);
        case DVC_X:
            return PutAxis(out, 0, kTabletMaxX, TU_INCHES, Resolution(kTabletMaxX, env.tabletWidthInches, 5));
        case DVC_Y:
            return PutAxis(out, 0, kTabletMaxY, TU_INCHES, Resolution(kTabletMaxY, env.tabletHeightInches, 4));
        case DVC_NPRESSURE:
            return PutAxis(out, 0, kPressureMax, TU_NONE, 0);
        case DVC_ORIENTATION:
            PutAxis(out, 0, 3599, TU_CIRCLE, circle);         // azimuth
            PutAxis(out, -900, 900, TU_CIRCLE, circle);       // altitude; negative for the eraser end
            return PutAxis(out, 0, 3599, TU_CIRCLE, circle);  // twist
        case DVC_PNPID: {
            char id[32] = "";
            if (env.productId != 0) {
                static const char hex[] = "0123456789ABCDEF";
                std::strcpy(id, "USB\\VID_4B54&PID_0000");
                for (int n = 0; n < 4; ++n) id[17 + n] = hex[(env.productId >> (12 - 4 * n)) & 0xF];
            }
            return PutString(out, id, wide);
        }
    }
}

void PutButtonMap(Bytes& out, const uint8_t* first, size_t count) {
    uint8_t map[32] = {};
    std::memcpy(map, first, count);
    Put(out, map, sizeof map);
}

void PutCursor(Bytes& out, uint32_t cursor, uint32_t index, bool wide) {
    static const char* const kPenButtons[] = {"Tip", "Side button"};
    static const char* const kEraserButtons[] = {"Eraser"};
    static const uint8_t kIdentity[] = {0, 1};
    static const uint8_t kPenSystem[] = {SBN_LCLICK, SBN_RCLICK};
    static const uint8_t kEraserSystem[] = {SBN_LCLICK};
    const bool pen = cursor == kPenCursor;
    const bool eraser = cursor == kEraserCursor;
    const uint8_t buttons = pen ? 2 : eraser ? 1 : 0;
    switch (index) {
        case CSR_NAME:
            return PutString(out, pen ? "Pen tip" : eraser ? "Eraser" : "Puck", wide);
        case CSR_ACTIVE:
            return Put32(out, pen || eraser ? 1 : 0);
        case CSR_PKTDATA:
            return Put32(out, pen || eraser ? kDevicePacketData : 0);
        case CSR_BUTTONS:
        case CSR_BUTTONBITS:
            return Put8(out, buttons);
        case CSR_BTNNAMES:
            if (pen) return PutStrings(out, kPenButtons, 2, wide, true);
            if (eraser) return PutStrings(out, kEraserButtons, 1, wide, true);
            return PutStrings(out, nullptr, 0, wide, true);
        case CSR_BUTTONMAP:
            return PutButtonMap(out, kIdentity, buttons);
        case CSR_SYSBTNMAP:
            return PutButtonMap(out, pen ? kPenSystem : kEraserSystem, buttons);
        case CSR_NPBUTTON:
            return Put8(out, 0);
        case CSR_NPBTNMARKS:
            Put32(out, 0);  // released at 0, pressed from 1: the service gives a pressed tip at least 1
            return Put32(out, 1);
        case CSR_PHYSID:
            return Put32(out, pen || eraser ? 1 : 0);  // both ends of one pen
        case CSR_MODE:
        case CSR_MINPKTDATA:
        case CSR_MINBUTTONS:
            return Put32(out, 0);
        case CSR_CAPABILITIES:
            return Put32(out, eraser ? CRC_INVERT : 0);
        case CSR_TYPE:
            return Put32(out, pen ? 0x0802 : eraser ? 0x080A : 0);
    }
}

Bytes ContextAnswer(bool system, uint32_t index, bool wide, const InfoEnvironment& env) {
    const wintab::LOGCONTEXTA context = DefaultContext(system, env);
    Bytes out;
    if (index > CTX_MAX) return out;
    if (wide) {
        const LOGCONTEXTW widened = WidenContext(context);
        if (index == 0)
            Put(out, &widened, sizeof widened);
        else if (index == CTX_NAME)
            Put(out, widened.lcName, sizeof widened.lcName);
        else
            Put(out, widened.Tail + 4 * (index - 2), 4);
    } else {
        const auto* bytes = reinterpret_cast<const uint8_t*>(&context);
        if (index == 0)
            Put(out, bytes, sizeof context);
        else if (index == CTX_NAME)
            Put(out, context.lcName, sizeof context.lcName);
        else
            Put(out, bytes + sizeof context.lcName + 4 * (index - 2), 4);
    }
    return out;
}

// Every item of a category in index order, or one of them.
template <typename PutItem>
Bytes Items(uint32_t index, uint32_t last, PutItem put) {
    Bytes out;
    if (index > last) return out;
    for (uint32_t item = index == 0 ? 1 : index; item <= (index == 0 ? last : index); ++item) put(out, item);
    return out;
}

}  // namespace

wintab::LOGCONTEXTA DefaultContext(bool system, const InfoEnvironment& env) {
    wintab::LOGCONTEXTA context{};
    SetName(context, system ? "PzTablet System Context" : "PzTablet Digitizing Context");
    context.lcOptions = system ? wintab::CXO_SYSTEM : 0;
    context.lcMsgBase = wintab::WT_DEFBASE;
    context.lcPktRate = 100;
    context.lcPktData =
        wintab::PK_CURSOR | wintab::PK_BUTTONS | wintab::PK_X | wintab::PK_Y | wintab::PK_NORMAL_PRESSURE;
    context.lcMoveMask = wintab::PK_X | wintab::PK_Y;
    context.lcBtnDnMask = context.lcBtnUpMask = 0x3;
    context.lcInExtX = context.lcOutExtX = kTabletMaxX;
    context.lcInExtY = context.lcOutExtY = kTabletMaxY;
    context.lcSensX = context.lcSensY = context.lcSensZ = kFix32One;
    context.lcSysOrgX = env.screenLeft;
    context.lcSysOrgY = env.screenTop;
    context.lcSysExtX = env.screenWidth;
    context.lcSysExtY = env.screenHeight;
    context.lcSysSensX = context.lcSysSensY = kFix32One;
    return context;
}

std::vector<uint8_t> InfoAnswer(uint32_t category, uint32_t index, bool wide, const InfoEnvironment& env) {
    if (category == WTI_INTERFACE)
        return Items(index, kLastIndex[WTI_INTERFACE], [&](Bytes& out, uint32_t i) { PutInterface(out, i, wide); });
    if (category == WTI_STATUS)
        return Items(index, kLastIndex[WTI_STATUS], [&](Bytes& out, uint32_t i) { PutStatus(out, i, env); });
    if (category == WTI_DEFCONTEXT || category == WTI_DDCTXS) return ContextAnswer(false, index, wide, env);
    if (category == WTI_DEFSYSCTX || category == WTI_DSCTXS) return ContextAnswer(true, index, wide, env);
    if (category == WTI_DEVICES)
        return Items(index, kDeviceItems, [&](Bytes& out, uint32_t i) { PutDevice(out, i, wide, env); });
    if (category >= WTI_CURSORS && category < WTI_CURSORS + kCursorCount)
        return Items(index, kCursorItems,
                     [&](Bytes& out, uint32_t i) { PutCursor(out, category - WTI_CURSORS, i, wide); });
    return {};  // other devices, cursors and every extension
}

uint32_t LargestInfoAnswer(bool wide, const InfoEnvironment& env) {
    size_t largest = 0;
    for (uint32_t category :
         {WTI_INTERFACE, WTI_STATUS, WTI_DEFCONTEXT, WTI_DEVICES, WTI_CURSORS + 1, WTI_CURSORS + 2}) {
        const size_t size = InfoAnswer(category, 0, wide, env).size();
        if (size > largest) largest = size;
    }
    return static_cast<uint32_t>(largest);
}

LOGCONTEXTW WidenContext(const wintab::LOGCONTEXTA& context) {
    LOGCONTEXTW wide{};
    for (size_t n = 0; n < sizeof context.lcName; ++n) wide.lcName[n] = static_cast<uint8_t>(context.lcName[n]);
    std::memcpy(wide.Tail, reinterpret_cast<const uint8_t*>(&context) + sizeof context.lcName, sizeof wide.Tail);
    return wide;
}

wintab::LOGCONTEXTA NarrowContext(const LOGCONTEXTW& wide) {
    wintab::LOGCONTEXTA context{};
    for (size_t n = 0; n + 1 < sizeof context.lcName && wide.lcName[n] != 0; ++n)
        context.lcName[n] = wide.lcName[n] < 0x80 ? static_cast<char>(wide.lcName[n]) : '?';
    std::memcpy(reinterpret_cast<uint8_t*>(&context) + sizeof context.lcName, wide.Tail, sizeof wide.Tail);
    return context;
}

}  // namespace wt32
