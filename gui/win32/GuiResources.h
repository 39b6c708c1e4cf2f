// Resource and control numbers of KV_GUI_Ctrl's window, shared by its
// resource script, its window code and the test driver that operates it.
#pragma once

#define KV_GUI_WINDOW_CLASS L"KV_GUI_Ctrl.Form1"

// The application icon and the eight FLC pictures: segment n off, then on.
#define IDI_KV_GUI 100
#define IDB_FLC1_OFF 201
#define IDB_FLC1_ON 202
#define IDB_FLC2_OFF 203
#define IDB_FLC2_ON 204
#define IDB_FLC3_OFF 205
#define IDB_FLC3_ON 206
#define IDB_FLC4_OFF 207
#define IDB_FLC4_ON 208

// Child windows of the form.
#define IDC_frmLEDControl 1001
#define IDC_optLEDoff 1002
#define IDC_optLED2 1003
#define IDC_optLED1 1004
#define IDC_optFLC 1005
#define IDC_frmFLCSwitch 1006
#define IDC_cmdFLC1 1007
#define IDC_cmdFLC2 1008
#define IDC_cmdFLC3 1009
#define IDC_cmdFLC4 1010
#define IDC_frmAxiBrightness 1011
#define IDC_HScroll5 1012
#define IDC_frmFLCBrightness 1013
#define IDC_HScroll4 1014
#define IDC_Combo3 1015
#define IDC_frmAE 1016
#define IDC_HScroll3 1017
#define IDC_OptAEOn 1018
#define IDC_OptAEOff 1019
#define IDC_Label11 1020
#define IDC_Label4 1021

// The tray menu's items.
#define IDM_TRAY_MINIMIZE 2001
#define IDM_TRAY_MAXIMIZE 2002
#define IDM_TRAY_CLOSE 2004

// The tray icon reports the mouse messages on it with this message (WM_APP
// + 1), its lParam the mouse message. A message of its own: with the
// mouse-move message, moving the mouse over the form at certain x positions
// would read as clicks on the icon.
#define KV_WM_TRAY_ICON (0x8000 + 1)

// Timer1's id, and the timer that tries again to add the tray icon.
#define KV_TIMER1 1
#define KV_TIMER_TRAY_RETRY 2
