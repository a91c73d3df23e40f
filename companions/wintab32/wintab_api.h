// The Wintab functions as a program calls them, for the library's own programs and tests.
#pragma once

#include <windows.h>

#include "wintab_types.h"

typedef struct HCTX__* HCTX;

extern "C" {
UINT WINAPI WTInfoA(UINT category, UINT index, LPVOID output);
UINT WINAPI WTInfoW(UINT category, UINT index, LPVOID output);
HCTX WINAPI WTOpenA(HWND window, wintab::LOGCONTEXTA* context, BOOL enable);
HCTX WINAPI WTOpenW(HWND window, LPVOID context, BOOL enable);
BOOL WINAPI WTClose(HCTX context);
int WINAPI WTPacketsGet(HCTX context, int count, LPVOID packets);
BOOL WINAPI WTPacket(HCTX context, UINT serial, LPVOID packet);
BOOL WINAPI WTEnable(HCTX context, BOOL enable);
BOOL WINAPI WTOverlap(HCTX context, BOOL toTop);
BOOL WINAPI WTConfig(HCTX context, HWND window);
BOOL WINAPI WTGetA(HCTX context, wintab::LOGCONTEXTA* out);
BOOL WINAPI WTGetW(HCTX context, LPVOID out);
BOOL WINAPI WTSetA(HCTX context, wintab::LOGCONTEXTA* in);
BOOL WINAPI WTSetW(HCTX context, LPVOID in);
BOOL WINAPI WTExtGet(HCTX context, UINT extension, LPVOID data);
BOOL WINAPI WTExtSet(HCTX context, UINT extension, LPVOID data);
BOOL WINAPI WTSave(HCTX context, LPVOID saveInfo);
HCTX WINAPI WTRestore(HWND window, LPVOID saveInfo, BOOL enable);
int WINAPI WTPacketsPeek(HCTX context, int count, LPVOID packets);
int WINAPI WTDataGet(HCTX context, UINT first, UINT last, int count, LPVOID packets, LPINT copied);
int WINAPI WTDataPeek(HCTX context, UINT first, UINT last, int count, LPVOID packets, LPINT copied);
int WINAPI WTQueueSizeGet(HCTX context);
BOOL WINAPI WTQueueSizeSet(HCTX context, int size);
BOOL WINAPI WTQueuePacketsEx(HCTX context, UINT* oldest, UINT* newest);
// Ordinal 911: 4 hands the pen to this process's top context, 5 hands it to another client.
BOOL WINAPI WTPzFocus(DWORD request);
}
