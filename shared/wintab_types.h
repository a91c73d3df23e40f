// The Wintab 1.x structures that cross the shared blocks, declared from the documented field order.
// Every field is 32 bits wide on 32-bit Windows; fixed-width types keep the layout the same natively.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wintab {

// Packet data bits (WTPKT).
constexpr uint32_t PK_CONTEXT = 0x0001;
constexpr uint32_t PK_STATUS = 0x0002;
constexpr uint32_t PK_TIME = 0x0004;
constexpr uint32_t PK_CHANGED = 0x0008;
constexpr uint32_t PK_SERIAL_NUMBER = 0x0010;
constexpr uint32_t PK_CURSOR = 0x0020;
constexpr uint32_t PK_BUTTONS = 0x0040;
constexpr uint32_t PK_X = 0x0080;
constexpr uint32_t PK_Y = 0x0100;
constexpr uint32_t PK_Z = 0x0200;
constexpr uint32_t PK_NORMAL_PRESSURE = 0x0400;
constexpr uint32_t PK_TANGENT_PRESSURE = 0x0800;
constexpr uint32_t PK_ORIENTATION = 0x1000;
constexpr uint32_t PK_ROTATION = 0x2000;

// Context option bits (lcOptions).
constexpr uint32_t CXO_SYSTEM = 0x0001;
constexpr uint32_t CXO_PEN = 0x0002;
constexpr uint32_t CXO_MESSAGES = 0x0004;
constexpr uint32_t CXO_CSRMESSAGES = 0x0008;

// Message numbers at the default base.
constexpr uint32_t WT_DEFBASE = 0x7FF0;
constexpr uint32_t WT_PACKET = WT_DEFBASE + 0;
constexpr uint32_t WT_PROXIMITY = WT_DEFBASE + 5;
constexpr uint32_t WT_CSRCHANGE = WT_DEFBASE + 7;

struct LOGCONTEXTA {
    char lcName[40];
    uint32_t lcOptions;
    uint32_t lcStatus;
    uint32_t lcLocks;
    uint32_t lcMsgBase;
    uint32_t lcDevice;
    uint32_t lcPktRate;
    uint32_t lcPktData;
    uint32_t lcPktMode;
    uint32_t lcMoveMask;
    uint32_t lcBtnDnMask;
    uint32_t lcBtnUpMask;
    int32_t lcInOrgX;
    int32_t lcInOrgY;
    int32_t lcInOrgZ;
    int32_t lcInExtX;
    int32_t lcInExtY;
    int32_t lcInExtZ;
    int32_t lcOutOrgX;
    int32_t lcOutOrgY;
    int32_t lcOutOrgZ;
    int32_t lcOutExtX;
    int32_t lcOutExtY;
    int32_t lcOutExtZ;
    uint32_t lcSensX;  // FIX32
    uint32_t lcSensY;
    uint32_t lcSensZ;
    int32_t lcSysMode;
    int32_t lcSysOrgX;
    int32_t lcSysOrgY;
    int32_t lcSysExtX;
    int32_t lcSysExtY;
    uint32_t lcSysSensX;
    uint32_t lcSysSensY;
};

struct ORIENTATION {
    int32_t orAzimuth;
    int32_t orAltitude;
    int32_t orTwist;
};

struct ROTATION {
    int32_t roPitch;
    int32_t roRoll;
    int32_t roYaw;
};

// A packet with every field present (pkContext to pkRotation), as the service queues it.
struct PACKET {
    uint32_t pkContext;
    uint32_t pkStatus;
    uint32_t pkTime;
    uint32_t pkChanged;
    uint32_t pkSerialNumber;
    uint32_t pkCursor;
    uint32_t pkButtons;
    int32_t pkX;
    int32_t pkY;
    int32_t pkZ;
    uint32_t pkNormalPressure;
    uint32_t pkTangentPressure;
    ORIENTATION pkOrientation;
    ROTATION pkRotation;
};

static_assert(sizeof(LOGCONTEXTA) == 172, "LOGCONTEXTA is 172 bytes");
static_assert(offsetof(LOGCONTEXTA, lcOptions) == 40, "lcOptions");
static_assert(offsetof(LOGCONTEXTA, lcMsgBase) == 52, "lcMsgBase");
static_assert(offsetof(LOGCONTEXTA, lcPktData) == 64, "lcPktData");
static_assert(offsetof(LOGCONTEXTA, lcInExtX) == 96, "lcInExtX");
static_assert(offsetof(LOGCONTEXTA, lcOutOrgX) == 108, "lcOutOrgX");
static_assert(offsetof(LOGCONTEXTA, lcOutExtX) == 120, "lcOutExtX");
static_assert(offsetof(LOGCONTEXTA, lcSensX) == 132, "lcSensX");
static_assert(offsetof(LOGCONTEXTA, lcSysExtX) == 156, "lcSysExtX");
static_assert(sizeof(PACKET) == 72, "PACKET with every field is 72 bytes");
static_assert(offsetof(PACKET, pkX) == 28, "pkX");
static_assert(offsetof(PACKET, pkNormalPressure) == 40, "pkNormalPressure");
static_assert(offsetof(PACKET, pkOrientation) == 48, "pkOrientation");

}  // namespace wintab
