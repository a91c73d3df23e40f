// Offsets of every shared field, as the peers that read the blocks and files by offset expect them.
#include <gtest/gtest.h>

#include <cstddef>

#include "records.h"

namespace {

struct FieldOffset {
    const char* field;
    size_t actual;
    size_t expected;
};

#define PZ_FIELD(type, member, offset)                    \
    FieldOffset {                                         \
#type "." #member, offsetof(type, member), offset \
    }

TEST(RecordLayout, FieldsSitAtTheirFixedOffsets) {
    using namespace pz;
    using wintab::LOGCONTEXTA;
    using wintab::PACKET;
    const FieldOffset table[] = {
        PZ_FIELD(ControlPanelBlock, ServerProcessId, 0),
        PZ_FIELD(ControlPanelBlock, ServerMappingHandle, 4),
        PZ_FIELD(ControlPanelBlock, Record.PressureLevel, 8),
        PZ_FIELD(ControlPanelBlock, Record.Reserved10, 10),
        PZ_FIELD(ControlPanelBlock, Record.PositionWindow, 12),
        PZ_FIELD(ControlPanelBlock, Record.AreaLeft, 16),
        PZ_FIELD(ControlPanelBlock, Record.AreaTop, 18),
        PZ_FIELD(ControlPanelBlock, Record.AreaRight, 20),
        PZ_FIELD(ControlPanelBlock, Record.AreaBottom, 22),
        PZ_FIELD(ControlPanelBlock, Record.ShowTrayIcon, 24),
        PZ_FIELD(ControlPanelBlock, Record.DisableRightKey, 26),
        PZ_FIELD(ControlPanelBlock, Record.HasKeypad, 28),
        PZ_FIELD(ControlPanelBlock, Record.HasTilt, 30),
        PZ_FIELD(ControlPanelBlock, Record.ScreenLeft, 32),
        PZ_FIELD(ControlPanelBlock, Record.ScreenRight, 34),
        PZ_FIELD(ControlPanelBlock, Record.ScreenTop, 36),
        PZ_FIELD(ControlPanelBlock, Record.ScreenBottom, 38),
        PZ_FIELD(ControlPanelBlock, Record.DesktopLeft, 40),
        PZ_FIELD(ControlPanelBlock, Record.DesktopRight, 42),
        PZ_FIELD(ControlPanelBlock, Record.DesktopTop, 44),
        PZ_FIELD(ControlPanelBlock, Record.DesktopBottom, 46),
        PZ_FIELD(ControlPanelBlock, Record.ManualAreaWindow, 60),
        PZ_FIELD(ControlPanelBlock, Record.Mapping.MonitorCount, 64),
        PZ_FIELD(ControlPanelBlock, Record.Mapping.SelectedMonitor, 68),
        PZ_FIELD(ControlPanelBlock, Record.Mapping.TargetIsPrimary, 72),
        PZ_FIELD(ControlPanelBlock, Record.Mapping.AreaMode, 76),
        PZ_FIELD(ControlPanelBlock, Record.Mapping.DesktopWidth, 80),
        PZ_FIELD(ControlPanelBlock, Record.Mapping.DesktopHeight, 84),
        PZ_FIELD(ControlPanelBlock, Record.Mapping.TabletAreaX1, 88),
        PZ_FIELD(ControlPanelBlock, Record.Mapping.TabletAreaY1, 92),
        PZ_FIELD(ControlPanelBlock, Record.Mapping.TabletAreaX2, 96),
        PZ_FIELD(ControlPanelBlock, Record.Mapping.TabletAreaY2, 100),
        PZ_FIELD(ControlPanelBlock, Record.Mapping.MonitorRect, 104),
        PZ_FIELD(ControlPanelBlock, Record.Mapping.ScreenArea, 120),
        PZ_FIELD(ControlPanelBlock, Tablet.ProductId, 136),
        PZ_FIELD(ControlPanelBlock, Tablet.WidthInches, 138),
        PZ_FIELD(ControlPanelBlock, Tablet.HeightInches, 140),
        PZ_FIELD(ControlPanelBlock, Unused144, 144),
        PZ_FIELD(KeyGroup, Actions[1], 4),
        PZ_FIELD(KeyGroup, Actions[3], 12),
        PZ_FIELD(KeyGroup, Launch[0].Path, 16),
        PZ_FIELD(KeyGroup, Launch[0].Parameters, 272),
        PZ_FIELD(KeyGroup, Launch[1].Path, 400),
        PZ_FIELD(KeyGroup, Launch[2].Path, 784),
        PZ_FIELD(KeyGroup, Launch[2].Parameters, 1040),
        PZ_FIELD(KeyGroup, Launch[3].Path, 1168),
        PZ_FIELD(KeyGroup, Launch[3].Parameters, 1424),
        PZ_FIELD(KeyGroup, ScrollDisabled, 1552),
        PZ_FIELD(KeySetRecord, Groups[1], 1556),
        PZ_FIELD(WintabControlBlock, RequestEventHandle, 4),
        PZ_FIELD(WintabControlBlock, SyncEventHandle, 8),
        PZ_FIELD(WintabControlBlock, ContextMappingHandle, 12),
        PZ_FIELD(WintabControlBlock, CloseEventHandle, 16),
        PZ_FIELD(WintabControlBlock, CommandEventHandle, 20),
        PZ_FIELD(WintabControlBlock, ClientEventHandle, 24),
        PZ_FIELD(WintabContextBlock, Command, 0),
        PZ_FIELD(WintabContextBlock, ClientWindow, 4),
        PZ_FIELD(WintabContextBlock, ContextId, 8),
        PZ_FIELD(WintabContextBlock, Enabled, 12),
        PZ_FIELD(WintabContextBlock, Reserved16, 16),
        PZ_FIELD(WintabContextBlock, Context, 20),
        PZ_FIELD(WintabContextBlock, Context.lcOptions, 60),
        PZ_FIELD(WintabContextBlock, Context.lcOutOrgX, 128),
        PZ_FIELD(WintabContextBlock, Context.lcOutExtY, 144),
        PZ_FIELD(WintabContextBlock, PacketQueue, 192),
        PZ_FIELD(WintabContextBlock, PacketQueue[63], 192 + 63 * 84),
        PZ_FIELD(WintabContextBlock, QueueLength, 5584),
        PZ_FIELD(WintabContextBlock, PacketSerial, 5588),
        PZ_FIELD(LOGCONTEXTA, lcStatus, 44),
        PZ_FIELD(LOGCONTEXTA, lcDevice, 56),
        PZ_FIELD(LOGCONTEXTA, lcPktRate, 60),
        PZ_FIELD(LOGCONTEXTA, lcPktMode, 68),
        PZ_FIELD(LOGCONTEXTA, lcMoveMask, 72),
        PZ_FIELD(LOGCONTEXTA, lcBtnUpMask, 80),
        PZ_FIELD(LOGCONTEXTA, lcInOrgX, 84),
        PZ_FIELD(LOGCONTEXTA, lcOutExtZ, 128),
        PZ_FIELD(LOGCONTEXTA, lcSysMode, 144),
        PZ_FIELD(LOGCONTEXTA, lcSysSensY, 168),
        PZ_FIELD(PACKET, pkTime, 8),
        PZ_FIELD(PACKET, pkSerialNumber, 16),
        PZ_FIELD(PACKET, pkCursor, 20),
        PZ_FIELD(PACKET, pkButtons, 24),
        PZ_FIELD(PACKET, pkTangentPressure, 44),
        PZ_FIELD(PACKET, pkOrientation.orAltitude, 52),
        PZ_FIELD(PACKET, pkRotation, 60),
    };
    for (const FieldOffset& f : table) EXPECT_EQ(f.actual, f.expected) << f.field;
}

}  // namespace
