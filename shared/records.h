// Layouts of the shared blocks and files that cross the deliverables. All integers are little-endian,
// naturally aligned 16- and 32-bit fields; window and kernel handles are stored as 32-bit values.
#pragma once

#include <cstddef>
#include <cstdint>

#include "wintab_types.h"

namespace pz {

// ---- Pen and mapping settings ("Global\TavorinControlPanelConnectionControlData") ----

// Written by the settings program's mapping page as one 72-byte piece.
struct MappingSettings {
    int32_t MonitorCount;
    int32_t SelectedMonitor;  // 0 = whole desktop, n = monitor n
    int32_t TargetIsPrimary;
    int32_t AreaMode;  // 0 = whole target monitor, 1 = part of it
    int32_t DesktopWidth;
    int32_t DesktopHeight;
    int32_t TabletAreaX1;
    int32_t TabletAreaY1;
    int32_t TabletAreaX2;
    int32_t TabletAreaY2;
    int32_t MonitorRect[4];  // left, top, right, bottom; desktop-normalised 0..65535
    int32_t ScreenArea[4];   // the screen area the tablet area maps to, desktop-normalised
};

struct SettingsRecord {
    uint16_t PressureLevel;  // 100 = linear curve
    uint16_t Reserved10;
    // The service posts raw pen positions (0x7FFA) here. The settings program's mapping page writes its
    // window to this field and to ManualAreaWindow together (same value, same moments), so the page
    // receives the positions it picks with. Never taken from the settings file.
    uint32_t PositionWindow;
    uint16_t AreaLeft;
    uint16_t AreaTop;
    uint16_t AreaRight;
    uint16_t AreaBottom;
    uint16_t ShowTrayIcon;
    uint16_t DisableRightKey;
    uint16_t HasKeypad;
    uint16_t HasTilt;
    int16_t ScreenLeft;
    int16_t ScreenRight;
    int16_t ScreenTop;
    int16_t ScreenBottom;
    int16_t DesktopLeft;
    int16_t DesktopRight;
    int16_t DesktopTop;
    int16_t DesktopBottom;
    uint8_t Unused40[12];
    uint32_t ManualAreaWindow;
    MappingSettings Mapping;
};

// The opened tablet, written by the service from TabletModelTable when it opens a tablet (0 while none
// has been opened). The settings program reads the product id and the physical size here, not from record
// offsets 6, 8 and 10: those keep the service's meaning (PositionWindow and the active area), and a size
// read from AreaLeft would be 0 and break the proportional-area maths.
struct TabletProperties {
    uint16_t ProductId;  // USB product id; 0x8501 selects the settings program's 8-key page
    uint16_t WidthInches;
    uint16_t HeightInches;
    uint16_t Reserved;
};

struct ControlPanelBlock {
    uint32_t ServerProcessId;
    uint32_t ServerMappingHandle;
    SettingsRecord Record;
    TabletProperties Tablet;  // record offsets 128..135, the end of the settings program's 136-byte copy
    uint8_t Unused144[368];
};

constexpr uint32_t kControlPanelBlockSize = 512;
constexpr uint32_t kSettingsRecordImageSize = 136;  // record offsets 0..135 as stored in the block
constexpr uint32_t kSettingsFileCoreSize = 16;      // the part of the file every reader takes

static_assert(sizeof(MappingSettings) == 72, "MappingSettings is 72 bytes");
static_assert(offsetof(SettingsRecord, PositionWindow) == 4, "PositionWindow");
static_assert(offsetof(SettingsRecord, AreaLeft) == 8, "AreaLeft");
static_assert(offsetof(SettingsRecord, ShowTrayIcon) == 16, "ShowTrayIcon");
static_assert(offsetof(SettingsRecord, HasTilt) == 22, "HasTilt");
static_assert(offsetof(SettingsRecord, ScreenLeft) == 24, "ScreenLeft");
static_assert(offsetof(SettingsRecord, DesktopLeft) == 32, "DesktopLeft");
static_assert(offsetof(SettingsRecord, ManualAreaWindow) == 52, "ManualAreaWindow");
static_assert(offsetof(SettingsRecord, Mapping) == 56, "MappingSettings group");
static_assert(offsetof(SettingsRecord, Mapping.ScreenArea) == 112, "ScreenArea");
static_assert(sizeof(SettingsRecord) == 128, "SettingsRecord fields end at record offset 128");
static_assert(offsetof(ControlPanelBlock, Record) == 8, "record starts at block offset 8");
static_assert(sizeof(TabletProperties) == 8, "TabletProperties is 8 bytes");
static_assert(offsetof(ControlPanelBlock, Tablet) == 136, "tablet properties start at block offset 136");
static_assert(offsetof(ControlPanelBlock, Tablet.WidthInches) == 138, "WidthInches");
static_assert(offsetof(ControlPanelBlock, Tablet.HeightInches) == 140, "HeightInches");
static_assert(offsetof(ControlPanelBlock, Tablet) + sizeof(TabletProperties) == 8 + kSettingsRecordImageSize,
              "the record image ends with the tablet properties");
static_assert(sizeof(ControlPanelBlock) == kControlPanelBlockSize, "ControlPanelBlock is 512 bytes");

// ---- Key settings ("TavorinKeySetConnectionControlData") ----

// Up to three virtual-key codes, or 0xFF 0xFF 0xFF followed by an action code.
struct KeyAction {
    uint8_t Bytes[4];
};

enum KeyActionCode : uint8_t {
    kActionMiddleButton = 1,
    kActionLeftButton = 2,
    kActionRightButton = 3,
    kActionLaunch = 4,
    kActionNothing = 5,
    kActionNotifyWindow = 7,
};

struct LaunchEntry {
    char Path[256];
    char Parameters[128];
};

struct KeyGroup {
    KeyAction Actions[4];
    LaunchEntry Launch[4];
    uint8_t ScrollDisabled;
    uint8_t Padding[3];
};

struct KeySetRecord {
    KeyGroup Groups[2];
};

constexpr uint32_t kKeySetBlockSize = 4096;
constexpr uint32_t kKeyFileReservedBytes = 4;
constexpr uint32_t kKeyFileSize = kKeyFileReservedBytes + 3112;
constexpr uint32_t kKeyFileMinimumSize = kKeyFileReservedBytes + 1556;  // group 1 alone

static_assert(sizeof(KeyAction) == 4, "KeyAction is 4 bytes");
static_assert(sizeof(LaunchEntry) == 384, "LaunchEntry is 384 bytes");
static_assert(offsetof(KeyGroup, Launch) == 16, "Key1Launch");
static_assert(offsetof(KeyGroup, Launch[1].Parameters) == 656, "Key2Launch parameters");
static_assert(offsetof(KeyGroup, ScrollDisabled) == 1552, "ScrollDisabled");
static_assert(sizeof(KeyGroup) == 1556, "KeyGroup is 1556 bytes");
static_assert(sizeof(KeySetRecord) == 3112, "KeySetRecord is 3112 bytes");

// ---- Wintab connection ("Global\TavorinWintab32ConnectionControlData") ----

struct WintabControlBlock {
    uint32_t ServerProcessId;
    uint32_t RequestEventHandle;
    uint32_t SyncEventHandle;
    uint32_t ContextMappingHandle;  // the fields from here on describe the newest connection
    uint32_t CloseEventHandle;
    uint32_t CommandEventHandle;
    uint32_t ClientEventHandle;
};

// A full packet followed by 12 bytes the service never writes.
struct QueuedPacket {
    wintab::PACKET Packet;
    uint32_t Unused[3];
};

constexpr uint32_t kPacketQueueCapacity = 64;
constexpr uint32_t kWintabContextBlockSize = 8192;

struct WintabContextBlock {
    uint32_t Command;
    uint32_t ClientWindow;
    uint32_t ContextId;
    uint32_t Enabled;
    uint32_t Reserved16;
    wintab::LOGCONTEXTA Context;
    QueuedPacket PacketQueue[kPacketQueueCapacity];
    uint8_t Unused5568[16];
    uint32_t QueueLength;
    uint32_t PacketSerial;
    uint8_t Unused5592[2600];
};

enum WintabCommand : uint32_t {
    kCommandEmptyQueue = 48,
    kCommandEnable = 256,
    kCommandDisable = 257,
    kCommandMakeCurrent = 258,
};

constexpr uint32_t kFirstContextId = 1537;  // 1536 + the count of accepted connections

static_assert(sizeof(WintabControlBlock) == 28, "WintabControlBlock is 28 bytes");
static_assert(sizeof(QueuedPacket) == 84, "QueuedPacket is 84 bytes");
static_assert(offsetof(WintabContextBlock, Context) == 20, "Context");
static_assert(offsetof(WintabContextBlock, PacketQueue) == 192, "PacketQueue");
static_assert(offsetof(WintabContextBlock, QueueLength) == 5584, "QueueLength");
static_assert(offsetof(WintabContextBlock, PacketSerial) == 5588, "PacketSerial");
static_assert(sizeof(WintabContextBlock) == kWintabContextBlockSize, "WintabContextBlock is 8192 bytes");

}  // namespace pz
