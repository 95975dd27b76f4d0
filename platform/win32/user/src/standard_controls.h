// The standard control classes and what they share: registration and the parent's colours.
#pragma once

#include <QPainter>
#include <functional>

#include <win32/types.h>

namespace platform::user {

struct Window;

// Registers every standard control class once. GUI thread.
void registerStandardControls();

// The brush a control paints its background with: the parent's answer to `ctlColorMessage`, or the
// default when the parent gives none. Sets the DC's text and background colours. GUI thread.
HBRUSH controlBrush(HWND control, HDC dc, UINT ctlColorMessage);
// The default answer to WM_CTLCOLOR* (DefWindowProc). GUI thread.
HBRUSH defaultControlBrush(HDC dc, UINT ctlColorMessage);

// Handles WM_PAINT: BeginPaint, `paint` with the DC and the client rectangle, EndPaint. GUI thread.
void paintControl(HWND hwnd, const std::function<void(HDC, const RECT&)>& paint);
// Paints straight into the window's backing image with Qt (the look of Qt's own controls) and shows it.
// GUI thread, between BeginPaint and EndPaint.
void paintWithQt(Window& window, const std::function<void(QPainter&, QWidget&)>& paint);
// DefWindowProc, then the whole control is painted again (text and enabled state changes). GUI thread.
LRESULT defaultAndRepaint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// WM_SETFONT / WM_GETFONT of a standard control: the font draws its text (and its Qt control's). Returns
// true with `result` set for those two messages. GUI thread.
bool handleFontMessage(Window& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
// Sends a notification code to the parent as WM_COMMAND (id, code) from the control. GUI thread.
void notifyParent(const Window& control, WORD code);

// Window procedures of the standard classes.
LRESULT CALLBACK staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK comboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK trackBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK toolTipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace platform::user
