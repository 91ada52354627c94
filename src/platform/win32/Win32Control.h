// Child windows of a form through the Win32 ANSI API (texts of a code page
// other than the system's through the wide one, Win32CodePages.h): the
// system's controls where Windows has them (buttons, statics, edits, list and
// combo boxes, rich edit, and the common controls: progress bar, tree view,
// list view, tab control) and a window class of our own that paints panels,
// group boxes, images and grids. Each family of kinds has its realization in a
// file of its own on the common base of Win32ChildControl.h;
// CreateWin32Control picks it. Notifications reach the owner through the
// parent window's procedure (RouteToControl).
#pragma once

#include "platform/Gui.h"
#include "platform/win32/Win32Api.h"

#include <vector>

namespace sw::win32 {

class Win32Gui;

// Registers the window class of the painted controls and loads the common
// controls (once).
void RegisterControlWindowClasses();

// Creates a control in `parentWindow`; `registry` lists the form's living
// controls (each removes itself when destroyed).
std::unique_ptr<IControl> CreateWin32Control(Win32Gui& gui, HWND parentWindow, std::vector<IControl*>& registry,
                                             ControlKind kind, const std::string& name, const Bounds& bounds,
                                             IControlEvents& events);

// The window of a control made by CreateWin32Control.
HWND ControlWindow(IControl& control);

// Handles a message a parent window receives about a child control
// (commands, notifications, colours); false when it is none of those.
bool RouteToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// The font a form's controls are given, as Windows reads it back.
HFONT CreateFontFor(const FontSpec& font);
FontSpec SpecOfFont(HFONT font);

} // namespace sw::win32
