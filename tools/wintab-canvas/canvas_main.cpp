// wintab-canvas.exe: a drawing window over our Wintab32.dll. The whole tablet maps onto the canvas; the
// pen tip draws with a width that follows its pressure and the eraser end erases. The canvas can be saved
// as a BMP file when the window closes, which lets a demo run it without anyone at the screen.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bmp_image.h"
#include "canvas_options.h"
#include "info_answers.h"
#include "wintab_api.h"
#include "wintab_constants.h"

namespace {

constexpr uint32_t kPacketData =
    wintab::PK_X | wintab::PK_Y | wintab::PK_NORMAL_PRESSURE | wintab::PK_BUTTONS | wintab::PK_CURSOR;
constexpr UINT kMsgSaveNow = WM_APP + 1;  // saves the canvas to the --save path at once
constexpr int kEraserScale = 3;           // the eraser is wider than the widest line

struct Packet {
    uint32_t cursor;
    uint32_t buttons;
    int32_t x;
    int32_t y;
    uint32_t pressure;
};

struct Canvas {
    canvas::CanvasOptions options;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    uint32_t* pixels = nullptr;
    HCTX context = nullptr;
    bool drawing = false;
    POINT last{};
    unsigned packets = 0;  // packets taken from the context, told on standard output at the end
};
Canvas g_canvas;

bool MakeSurface(Canvas& c) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = c.options.width;
    info.bmiHeader.biHeight = -c.options.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    c.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (c.bitmap == nullptr) return false;
    c.pixels = static_cast<uint32_t*>(bits);
    std::fill(c.pixels, c.pixels + static_cast<size_t>(c.options.width) * c.options.height, 0x00FFFFFFu);
    c.dc = CreateCompatibleDC(nullptr);
    SelectObject(c.dc, c.bitmap);
    return true;
}

bool Save(const Canvas& c) {
    if (c.options.savePath.empty()) return true;
    GdiFlush();
    const std::vector<uint8_t> file = canvas::EncodeBmp(c.pixels, c.options.width, c.options.height);
    FILE* out = std::fopen(c.options.savePath.c_str(), "wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

// The whole tablet onto the canvas, Y growing downwards as on the screen.
HCTX OpenContext(HWND window, const Canvas& c) {
    wintab::LOGCONTEXTA context{};
    if (WTInfoA(wt32::WTI_DEFSYSCTX, 0, &context) != sizeof context) return nullptr;
    lstrcpynA(context.lcName, "wintab-canvas", sizeof context.lcName);
    context.lcOptions |= wintab::CXO_MESSAGES;
    context.lcPktData = kPacketData;
    context.lcPktMode = 0;
    context.lcMoveMask = kPacketData;
    context.lcOutOrgX = context.lcOutOrgY = 0;
    context.lcOutExtX = c.options.width;
    context.lcOutExtY = -c.options.height;
    return WTOpenA(window, &context, TRUE);
}

void Draw(HWND window, Canvas& c, const Packet& p) {
    const POINT at{p.x, p.y};
    if (!(p.buttons & 1)) {
        c.drawing = false;
        return;
    }
    if (!c.drawing) c.last = at;
    const bool eraser = p.cursor == wt32::kEraserCursor;
    const int width = eraser ? c.options.maxWidth * kEraserScale : canvas::LineWidth(p.pressure, c.options.maxWidth);
    HPEN pen = CreatePen(PS_SOLID, width, eraser ? RGB(255, 255, 255) : RGB(20, 20, 20));
    HGDIOBJ old = SelectObject(c.dc, pen);
    MoveToEx(c.dc, c.last.x, c.last.y, nullptr);
    LineTo(c.dc, at.x, at.y);
    SelectObject(c.dc, old);
    DeleteObject(pen);
    const int margin = width / 2 + 2;
    RECT dirty{std::min(c.last.x, at.x) - margin, std::min(c.last.y, at.y) - margin, std::max(c.last.x, at.x) + margin,
               std::max(c.last.y, at.y) + margin};
    InvalidateRect(window, &dirty, FALSE);
    c.last = at;
    c.drawing = true;
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Canvas& c = g_canvas;
    switch (message) {
        case wintab::WT_PACKET: {
            Packet packet{};
            if (WTPacket(reinterpret_cast<HCTX>(lParam), static_cast<UINT>(wParam), &packet)) {
                ++c.packets;
                Draw(window, c, packet);
            }
            return 0;
        }
        case wintab::WT_PROXIMITY:
            if (LOWORD(lParam) == 0) c.drawing = false;  // the pen left
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            BitBlt(dc, 0, 0, c.options.width, c.options.height, c.dc, 0, 0, SRCCOPY);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_TIMER:
            PostMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        case kMsgSaveNow:
            return Save(c) ? 1 : 0;
        case WM_CLOSE:
            if (!Save(c)) std::fprintf(stderr, "wintab-canvas: cannot write %s\n", c.options.savePath.c_str());
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            std::printf("packets=%u\n", c.packets);
            std::fflush(stdout);
            if (c.context != nullptr) WTClose(c.context);
            c.context = nullptr;
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow(const Canvas& c) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_CROSS);
    windowClass.lpszClassName = "WintabCanvas";
    RegisterClassA(&windowClass);
    RECT frame{0, 0, c.options.width, c.options.height};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRect(&frame, style, FALSE);
    return CreateWindowExA(0, windowClass.lpszClassName, "wintab-canvas", style, CW_USEDEFAULT, CW_USEDEFAULT,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, windowClass.hInstance,
                           nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    if (!canvas::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), g_canvas.options, error)) {
        std::fprintf(stderr,
                     "wintab-canvas: %s\nusage: wintab-canvas [--save FILE.bmp] [--size WxH] [--close-after MS] "
                     "[--max-width N]\n",
                     error.c_str());
        return 2;
    }
    if (!MakeSurface(g_canvas)) return 1;
    HWND window = MakeWindow(g_canvas);
    if (window == nullptr) return 1;
    g_canvas.context = OpenContext(window, g_canvas);
    const bool opened = g_canvas.context != nullptr;
    if (!opened) std::fprintf(stderr, "wintab-canvas: no Wintab context (is the tablet service running?)\n");
    if (g_canvas.options.closeAfterMs > 0)
        SetTimer(window, 1, static_cast<UINT>(g_canvas.options.closeAfterMs), nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return opened ? 0 : 3;
}
