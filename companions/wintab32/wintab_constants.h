// Wintab 1.x information categories, indices and flag values, declared from the documented interface.
#pragma once

#include <cstdint>

namespace wt32 {

// Information categories and their indices (WTInfo).
constexpr uint32_t WTI_INTERFACE = 1;
constexpr uint32_t IFC_WINTABID = 1;
constexpr uint32_t IFC_SPECVERSION = 2;
constexpr uint32_t IFC_IMPLVERSION = 3;
constexpr uint32_t IFC_NDEVICES = 4;
constexpr uint32_t IFC_NCURSORS = 5;
constexpr uint32_t IFC_NCONTEXTS = 6;
constexpr uint32_t IFC_CTXOPTIONS = 7;
constexpr uint32_t IFC_CTXSAVESIZE = 8;
constexpr uint32_t IFC_NEXTENSIONS = 9;
constexpr uint32_t IFC_NMANAGERS = 10;

constexpr uint32_t WTI_STATUS = 2;
constexpr uint32_t STA_CONTEXTS = 1;
constexpr uint32_t STA_SYSCTXS = 2;
constexpr uint32_t STA_PKTRATE = 3;
constexpr uint32_t STA_PKTDATA = 4;
constexpr uint32_t STA_MANAGERS = 5;
constexpr uint32_t STA_SYSTEM = 6;
constexpr uint32_t STA_BUTTONUSE = 7;
constexpr uint32_t STA_SYSBTNUSE = 8;

constexpr uint32_t WTI_DEFCONTEXT = 3;
constexpr uint32_t WTI_DEFSYSCTX = 4;
constexpr uint32_t WTI_DDCTXS = 400;  // + device number
constexpr uint32_t WTI_DSCTXS = 500;
constexpr uint32_t CTX_NAME = 1;
constexpr uint32_t CTX_MAX = 34;  // the context fields in declaration order, CTX_NAME first

constexpr uint32_t WTI_DEVICES = 100;  // + device number
constexpr uint32_t DVC_NAME = 1;
constexpr uint32_t DVC_HARDWARE = 2;
constexpr uint32_t DVC_NCSRTYPES = 3;
constexpr uint32_t DVC_FIRSTCSR = 4;
constexpr uint32_t DVC_PKTRATE = 5;
constexpr uint32_t DVC_PKTDATA = 6;
constexpr uint32_t DVC_PKTMODE = 7;
constexpr uint32_t DVC_CSRDATA = 8;
constexpr uint32_t DVC_XMARGIN = 9;
constexpr uint32_t DVC_YMARGIN = 10;
constexpr uint32_t DVC_ZMARGIN = 11;
constexpr uint32_t DVC_X = 12;
constexpr uint32_t DVC_Y = 13;
constexpr uint32_t DVC_Z = 14;
constexpr uint32_t DVC_NPRESSURE = 15;
constexpr uint32_t DVC_TPRESSURE = 16;
constexpr uint32_t DVC_ORIENTATION = 17;
constexpr uint32_t DVC_ROTATION = 18;
constexpr uint32_t DVC_PNPID = 19;

constexpr uint32_t WTI_CURSORS = 200;  // + cursor number
constexpr uint32_t CSR_NAME = 1;
constexpr uint32_t CSR_ACTIVE = 2;
constexpr uint32_t CSR_PKTDATA = 3;
constexpr uint32_t CSR_BUTTONS = 4;
constexpr uint32_t CSR_BUTTONBITS = 5;
constexpr uint32_t CSR_BTNNAMES = 6;
constexpr uint32_t CSR_BUTTONMAP = 7;
constexpr uint32_t CSR_SYSBTNMAP = 8;
constexpr uint32_t CSR_NPBUTTON = 9;
constexpr uint32_t CSR_NPBTNMARKS = 10;
constexpr uint32_t CSR_NPRESPONSE = 11;
constexpr uint32_t CSR_TPBUTTON = 12;
constexpr uint32_t CSR_TPBTNMARKS = 13;
constexpr uint32_t CSR_TPRESPONSE = 14;
constexpr uint32_t CSR_PHYSID = 15;
constexpr uint32_t CSR_MODE = 16;
constexpr uint32_t CSR_MINPKTDATA = 17;
constexpr uint32_t CSR_MINBUTTONS = 18;
constexpr uint32_t CSR_CAPABILITIES = 19;
constexpr uint32_t CSR_TYPE = 20;

constexpr uint32_t WTI_EXTENSIONS = 300;

// Axis units.
constexpr uint32_t TU_NONE = 0;
constexpr uint32_t TU_INCHES = 1;
constexpr uint32_t TU_CIRCLE = 3;

constexpr uint32_t HWC_HARDPROX = 0x0004;
constexpr uint32_t CRC_INVERT = 0x0004;
constexpr uint8_t SBN_LCLICK = 0x01;
constexpr uint8_t SBN_RCLICK = 0x04;

// Packet status bits and relative button codes.
constexpr uint32_t TPS_QUEUE_ERR = 0x0002;
constexpr uint32_t TPS_INVERT = 0x0010;
constexpr uint32_t TBN_NONE = 0;
constexpr uint32_t TBN_UP = 1;
constexpr uint32_t TBN_DOWN = 2;

// Context status bits (lcStatus) and message offsets from lcMsgBase.
constexpr uint32_t CXS_DISABLED = 0x0001;
constexpr uint32_t CXS_ONTOP = 0x0004;
constexpr uint32_t kMsgPacket = 0;
constexpr uint32_t kMsgCtxOpen = 1;
constexpr uint32_t kMsgCtxClose = 2;
constexpr uint32_t kMsgCtxUpdate = 3;
constexpr uint32_t kMsgCtxOverlap = 4;
constexpr uint32_t kMsgProximity = 5;
constexpr uint32_t kMsgCsrChange = 7;

struct AXIS {
    int32_t axMin;
    int32_t axMax;
    uint32_t axUnits;
    uint32_t axResolution;  // FIX32
};
static_assert(sizeof(AXIS) == 16, "AXIS is 16 bytes");

}  // namespace wt32
