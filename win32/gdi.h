// The subset of GDI32 that Velmora uses, with the platform's own names, constants and signatures,
// for systems other than Windows. Implemented by surface/.
#pragma once

#include "win32/types.h"

#define RGB(r, g, b)                                                                               \
    (static_cast<COLORREF>(static_cast<BYTE>(r) | (static_cast<WORD>(static_cast<BYTE>(g)) << 8) | \
                           (static_cast<DWORD>(static_cast<BYTE>(b)) << 16)))

#define R2_BLACK 1
#define R2_NOTXORPEN 10
#define R2_COPYPEN 13
#define R2_WHITE 16
#define PS_SOLID 0
#define WHITE_BRUSH 0
#define BLACK_PEN 7
#define TRANSPARENT 1
#define OPAQUE 2
#define TA_LEFT 0
#define TA_TOP 0
#define TA_RIGHT 2

BOOL WINAPI MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL WINAPI LineTo(HDC dc, int x, int y);
BOOL WINAPI GetCurrentPositionEx(HDC dc, LPPOINT point);
int WINAPI SetROP2(HDC dc, int mode);
HPEN WINAPI CreatePen(int style, int width, COLORREF colour);
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
BOOL WINAPI DeleteObject(HGDIOBJ object);
HGDIOBJ WINAPI GetStockObject(int index);
COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF colour);
BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int length);
UINT WINAPI SetTextAlign(HDC dc, UINT mode);
int WINAPI SetBkMode(HDC dc, int mode);
BOOL WINAPI Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL WINAPI Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd,
                int yEnd);
