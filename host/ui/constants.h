// The numeric values of the window layer: messages, keys, styles, notification codes, drawing flags, system
// colour and metric indices. They keep the values of the public Win32 API documentation, so that code written
// against that API's semantics reads the same here; each is defined once, here, and used by name elsewhere.
#pragma once

#include <cstdint>
#include <string_view>

namespace host::ui {

// A colour as 0x00BBGGRR.
using ColorRef = std::uint32_t;

constexpr ColorRef rgb(int r, int g, int b) {
    return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int redOf(ColorRef c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(ColorRef c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(ColorRef c) { return static_cast<int>((c >> 16) & 0xFF); }

inline constexpr ColorRef CLR_DEFAULT = 0xFF000000;  // "use the default colour" in colour fields
inline constexpr ColorRef CLR_NONE = 0xFFFFFFFF;
inline constexpr ColorRef CLR_INVALID = 0xFFFFFFFF;  // what a pixel read answers where there is no raster

// [SECTION] Messages
inline constexpr unsigned WM_NULL = 0x0000;
inline constexpr unsigned WM_CREATE = 0x0001;
inline constexpr unsigned WM_DESTROY = 0x0002;
inline constexpr unsigned WM_MOVE = 0x0003;
inline constexpr unsigned WM_SIZE = 0x0005;
inline constexpr unsigned WM_ACTIVATE = 0x0006;
inline constexpr unsigned WM_SETFOCUS = 0x0007;
inline constexpr unsigned WM_KILLFOCUS = 0x0008;
inline constexpr unsigned WM_ENABLE = 0x000A;
inline constexpr unsigned WM_SETREDRAW = 0x000B;
inline constexpr unsigned WM_SETTEXT = 0x000C;
inline constexpr unsigned WM_GETTEXT = 0x000D;
inline constexpr unsigned WM_GETTEXTLENGTH = 0x000E;
inline constexpr unsigned WM_PAINT = 0x000F;
inline constexpr unsigned WM_CLOSE = 0x0010;
inline constexpr unsigned WM_QUIT = 0x0012;
inline constexpr unsigned WM_ERASEBKGND = 0x0014;
inline constexpr unsigned WM_SYSCOLORCHANGE = 0x0015;
inline constexpr unsigned WM_SHOWWINDOW = 0x0018;
inline constexpr unsigned WM_SETTINGCHANGE = 0x001A;
inline constexpr unsigned WM_CANCELMODE = 0x001F;
inline constexpr unsigned WM_SETCURSOR = 0x0020;
inline constexpr unsigned WM_MOUSEACTIVATE = 0x0021;
inline constexpr unsigned WM_DRAWITEM = 0x002B;
inline constexpr unsigned WM_MEASUREITEM = 0x002C;
inline constexpr unsigned WM_DELETEITEM = 0x002D;
inline constexpr unsigned WM_SETFONT = 0x0030;
inline constexpr unsigned WM_GETFONT = 0x0031;
inline constexpr unsigned WM_COMPAREITEM = 0x0039;
inline constexpr unsigned WM_WINDOWPOSCHANGING = 0x0046;
inline constexpr unsigned WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr unsigned WM_NOTIFY = 0x004E;
inline constexpr unsigned WM_HELP = 0x0053;
inline constexpr unsigned WM_CONTEXTMENU = 0x007B;
inline constexpr unsigned WM_STYLECHANGED = 0x007D;
inline constexpr unsigned WM_NCCREATE = 0x0081;
inline constexpr unsigned WM_NCDESTROY = 0x0082;
inline constexpr unsigned WM_NCCALCSIZE = 0x0083;
inline constexpr unsigned WM_NCHITTEST = 0x0084;
inline constexpr unsigned WM_NCPAINT = 0x0085;
inline constexpr unsigned WM_GETDLGCODE = 0x0087;
inline constexpr unsigned WM_NCMOUSEMOVE = 0x00A0;
inline constexpr unsigned WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr unsigned WM_NCLBUTTONUP = 0x00A2;
inline constexpr unsigned WM_NCLBUTTONDBLCLK = 0x00A3;
inline constexpr unsigned WM_NCRBUTTONDOWN = 0x00A4;
inline constexpr unsigned WM_NCRBUTTONUP = 0x00A5;
inline constexpr unsigned WM_NCRBUTTONDBLCLK = 0x00A6;
inline constexpr unsigned WM_NCMBUTTONDOWN = 0x00A7;
inline constexpr unsigned WM_NCMBUTTONUP = 0x00A8;
inline constexpr unsigned WM_NCMBUTTONDBLCLK = 0x00A9;
inline constexpr unsigned WM_KEYDOWN = 0x0100;
inline constexpr unsigned WM_KEYUP = 0x0101;
inline constexpr unsigned WM_CHAR = 0x0102;
inline constexpr unsigned WM_SYSKEYDOWN = 0x0104;
inline constexpr unsigned WM_SYSKEYUP = 0x0105;
inline constexpr unsigned WM_SYSCHAR = 0x0106;
inline constexpr unsigned WM_INITDIALOG = 0x0110;
inline constexpr unsigned WM_COMMAND = 0x0111;
inline constexpr unsigned WM_SYSCOMMAND = 0x0112;
inline constexpr unsigned WM_TIMER = 0x0113;
inline constexpr unsigned WM_HSCROLL = 0x0114;
inline constexpr unsigned WM_VSCROLL = 0x0115;
inline constexpr unsigned WM_ENTERIDLE = 0x0121;
inline constexpr unsigned WM_CTLCOLORMSGBOX = 0x0132;
inline constexpr unsigned WM_CTLCOLOREDIT = 0x0133;
inline constexpr unsigned WM_CTLCOLORLISTBOX = 0x0134;
inline constexpr unsigned WM_CTLCOLORBTN = 0x0135;
inline constexpr unsigned WM_CTLCOLORDLG = 0x0136;
inline constexpr unsigned WM_CTLCOLORSCROLLBAR = 0x0137;
inline constexpr unsigned WM_CTLCOLORSTATIC = 0x0138;
inline constexpr unsigned WM_MOUSEMOVE = 0x0200;
inline constexpr unsigned WM_LBUTTONDOWN = 0x0201;
inline constexpr unsigned WM_LBUTTONUP = 0x0202;
inline constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
inline constexpr unsigned WM_RBUTTONDOWN = 0x0204;
inline constexpr unsigned WM_RBUTTONUP = 0x0205;
inline constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
inline constexpr unsigned WM_MBUTTONDOWN = 0x0207;
inline constexpr unsigned WM_MBUTTONUP = 0x0208;
inline constexpr unsigned WM_MBUTTONDBLCLK = 0x0209;
inline constexpr unsigned WM_MOUSEWHEEL = 0x020A;
inline constexpr unsigned WM_PARENTNOTIFY = 0x0210;
inline constexpr unsigned WM_CAPTURECHANGED = 0x0215;
inline constexpr unsigned WM_IME_CHAR = 0x0286;
inline constexpr unsigned WM_MOUSELEAVE = 0x02A3;
inline constexpr unsigned WM_CUT = 0x0300;
inline constexpr unsigned WM_COPY = 0x0301;
inline constexpr unsigned WM_PASTE = 0x0302;
inline constexpr unsigned WM_CLEAR = 0x0303;
inline constexpr unsigned WM_UNDO = 0x0304;
inline constexpr unsigned WM_USER = 0x0400;
inline constexpr unsigned WM_APP = 0x8000;

// WM_SIZE wParam
inline constexpr unsigned SIZE_RESTORED = 0;
inline constexpr unsigned SIZE_MINIMIZED = 1;
inline constexpr unsigned SIZE_MAXIMIZED = 2;
// WM_ACTIVATE wParam
inline constexpr unsigned WA_INACTIVE = 0;
inline constexpr unsigned WA_ACTIVE = 1;
inline constexpr unsigned WA_CLICKACTIVE = 2;
// WM_SYSCOMMAND wParam
inline constexpr unsigned SC_SIZE = 0xF000;
inline constexpr unsigned SC_MOVE = 0xF010;
inline constexpr unsigned SC_MINIMIZE = 0xF020;
inline constexpr unsigned SC_MAXIMIZE = 0xF030;
inline constexpr unsigned SC_CLOSE = 0xF060;
inline constexpr unsigned SC_KEYMENU = 0xF100;

// [SECTION] Hit-test codes (WM_NCHITTEST answers)
inline constexpr int HTERROR = -2;
inline constexpr int HTTRANSPARENT = -1;
inline constexpr int HTNOWHERE = 0;
inline constexpr int HTCLIENT = 1;
inline constexpr int HTCAPTION = 2;
inline constexpr int HTSYSMENU = 3;
inline constexpr int HTHSCROLL = 6;
inline constexpr int HTVSCROLL = 7;
inline constexpr int HTLEFT = 10;
inline constexpr int HTRIGHT = 11;
inline constexpr int HTTOP = 12;
inline constexpr int HTBOTTOM = 15;
inline constexpr int HTBORDER = 18;
inline constexpr int HTCLOSE = 20;

// [SECTION] Virtual keys
inline constexpr unsigned VK_LBUTTON = 0x01;
inline constexpr unsigned VK_RBUTTON = 0x02;
inline constexpr unsigned VK_CANCEL = 0x03;
inline constexpr unsigned VK_MBUTTON = 0x04;
inline constexpr unsigned VK_BACK = 0x08;
inline constexpr unsigned VK_TAB = 0x09;
inline constexpr unsigned VK_CLEAR = 0x0C;
inline constexpr unsigned VK_RETURN = 0x0D;
inline constexpr unsigned VK_SHIFT = 0x10;
inline constexpr unsigned VK_CONTROL = 0x11;
inline constexpr unsigned VK_MENU = 0x12;  // Alt
inline constexpr unsigned VK_PAUSE = 0x13;
inline constexpr unsigned VK_CAPITAL = 0x14;
inline constexpr unsigned VK_ESCAPE = 0x1B;
inline constexpr unsigned VK_SPACE = 0x20;
inline constexpr unsigned VK_PRIOR = 0x21;  // Page Up
inline constexpr unsigned VK_NEXT = 0x22;   // Page Down
inline constexpr unsigned VK_END = 0x23;
inline constexpr unsigned VK_HOME = 0x24;
inline constexpr unsigned VK_LEFT = 0x25;
inline constexpr unsigned VK_UP = 0x26;
inline constexpr unsigned VK_RIGHT = 0x27;
inline constexpr unsigned VK_DOWN = 0x28;
inline constexpr unsigned VK_INSERT = 0x2D;
inline constexpr unsigned VK_DELETE = 0x2E;
inline constexpr unsigned VK_HELP = 0x2F;
// '0'..'9' are 0x30..0x39 and 'A'..'Z' are 0x41..0x5A: the key of a digit or letter is its upper-case character.
inline constexpr unsigned VK_LWIN = 0x5B;
inline constexpr unsigned VK_RWIN = 0x5C;
inline constexpr unsigned VK_APPS = 0x5D;
inline constexpr unsigned VK_NUMPAD0 = 0x60;  // .. VK_NUMPAD9 = 0x69
inline constexpr unsigned VK_MULTIPLY = 0x6A;
inline constexpr unsigned VK_ADD = 0x6B;
inline constexpr unsigned VK_SEPARATOR = 0x6C;
inline constexpr unsigned VK_SUBTRACT = 0x6D;
inline constexpr unsigned VK_DECIMAL = 0x6E;
inline constexpr unsigned VK_DIVIDE = 0x6F;
inline constexpr unsigned VK_F1 = 0x70;  // .. VK_F12 = 0x7B
inline constexpr unsigned VK_F2 = 0x71;
inline constexpr unsigned VK_F3 = 0x72;
inline constexpr unsigned VK_F4 = 0x73;
inline constexpr unsigned VK_F5 = 0x74;
inline constexpr unsigned VK_F10 = 0x79;
inline constexpr unsigned VK_F12 = 0x7B;
inline constexpr unsigned VK_NUMLOCK = 0x90;
inline constexpr unsigned VK_SCROLL = 0x91;
inline constexpr unsigned VK_LSHIFT = 0xA0;
inline constexpr unsigned VK_RSHIFT = 0xA1;
inline constexpr unsigned VK_LCONTROL = 0xA2;
inline constexpr unsigned VK_RCONTROL = 0xA3;
inline constexpr unsigned VK_LMENU = 0xA4;
inline constexpr unsigned VK_RMENU = 0xA5;
inline constexpr unsigned VK_OEM_1 = 0xBA;       // ;:
inline constexpr unsigned VK_OEM_PLUS = 0xBB;    // =+
inline constexpr unsigned VK_OEM_COMMA = 0xBC;   // ,<
inline constexpr unsigned VK_OEM_MINUS = 0xBD;   // -_
inline constexpr unsigned VK_OEM_PERIOD = 0xBE;  // .>
inline constexpr unsigned VK_OEM_2 = 0xBF;       // /?
inline constexpr unsigned VK_OEM_3 = 0xC0;       // `~
inline constexpr unsigned VK_OEM_4 = 0xDB;       // [{
inline constexpr unsigned VK_OEM_5 = 0xDC;       // backslash |
inline constexpr unsigned VK_OEM_6 = 0xDD;       // ]}
inline constexpr unsigned VK_OEM_7 = 0xDE;       // '"
inline constexpr unsigned VK_PACKET = 0xE7;      // a key that carries any Unicode character (see message.h)

// Mouse message key flags (wParam of client mouse messages; the key state of drag and drop)
inline constexpr unsigned MK_LBUTTON = 0x0001;
inline constexpr unsigned MK_RBUTTON = 0x0002;
inline constexpr unsigned MK_SHIFT = 0x0004;
inline constexpr unsigned MK_CONTROL = 0x0008;
inline constexpr unsigned MK_MBUTTON = 0x0010;

inline constexpr int WHEEL_DELTA = 120;                  // one notch of the wheel
inline constexpr unsigned WHEEL_PAGESCROLL = 0xFFFFFFFF;  // "scroll a page per notch" as a wheel-lines setting
inline constexpr unsigned USER_TIMER_MINIMUM = 10;        // shorter timer intervals are raised to this

// [SECTION] Window styles and class styles
inline constexpr std::uint32_t WS_OVERLAPPED = 0x00000000;
inline constexpr std::uint32_t WS_POPUP = 0x80000000;
inline constexpr std::uint32_t WS_CHILD = 0x40000000;
inline constexpr std::uint32_t WS_MINIMIZE = 0x20000000;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000;
inline constexpr std::uint32_t WS_CLIPSIBLINGS = 0x04000000;
inline constexpr std::uint32_t WS_CLIPCHILDREN = 0x02000000;
inline constexpr std::uint32_t WS_MAXIMIZE = 0x01000000;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000;  // WS_BORDER | WS_DLGFRAME
inline constexpr std::uint32_t WS_BORDER = 0x00800000;
inline constexpr std::uint32_t WS_DLGFRAME = 0x00400000;
inline constexpr std::uint32_t WS_VSCROLL = 0x00200000;
inline constexpr std::uint32_t WS_HSCROLL = 0x00100000;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000;
inline constexpr std::uint32_t WS_THICKFRAME = 0x00040000;
inline constexpr std::uint32_t WS_GROUP = 0x00020000;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000;
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000;
inline constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000;
inline constexpr std::uint32_t WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
inline constexpr std::uint32_t WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;

inline constexpr std::uint32_t WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr std::uint32_t WS_EX_NOPARENTNOTIFY = 0x00000004;
inline constexpr std::uint32_t WS_EX_TOPMOST = 0x00000008;
inline constexpr std::uint32_t WS_EX_ACCEPTFILES = 0x00000010;
inline constexpr std::uint32_t WS_EX_TRANSPARENT = 0x00000020;
inline constexpr std::uint32_t WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr std::uint32_t WS_EX_WINDOWEDGE = 0x00000100;
inline constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr std::uint32_t WS_EX_CONTEXTHELP = 0x00000400;
inline constexpr std::uint32_t WS_EX_CONTROLPARENT = 0x00010000;
inline constexpr std::uint32_t WS_EX_STATICEDGE = 0x00020000;
inline constexpr std::uint32_t WS_EX_APPWINDOW = 0x00040000;
inline constexpr std::uint32_t WS_EX_NOACTIVATE = 0x08000000;

inline constexpr std::uint32_t CS_VREDRAW = 0x0001;
inline constexpr std::uint32_t CS_HREDRAW = 0x0002;
inline constexpr std::uint32_t CS_DBLCLKS = 0x0008;  // the class gets WM_*BUTTONDBLCLK for a second quick press
inline constexpr std::uint32_t CS_OWNDC = 0x0020;
inline constexpr std::uint32_t CS_NOCLOSE = 0x0200;
inline constexpr std::uint32_t CS_SAVEBITS = 0x0800;
inline constexpr std::uint32_t CS_GLOBALCLASS = 0x4000;

inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// ShowWindow commands
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;

// SetWindowPos flags
inline constexpr unsigned SWP_NOSIZE = 0x0001;
inline constexpr unsigned SWP_NOMOVE = 0x0002;
inline constexpr unsigned SWP_NOZORDER = 0x0004;
inline constexpr unsigned SWP_NOREDRAW = 0x0008;
inline constexpr unsigned SWP_NOACTIVATE = 0x0010;
inline constexpr unsigned SWP_FRAMECHANGED = 0x0020;
inline constexpr unsigned SWP_SHOWWINDOW = 0x0040;
inline constexpr unsigned SWP_HIDEWINDOW = 0x0080;

// RedrawWindow flags
inline constexpr unsigned RDW_INVALIDATE = 0x0001;
inline constexpr unsigned RDW_ERASE = 0x0004;
inline constexpr unsigned RDW_VALIDATE = 0x0008;
inline constexpr unsigned RDW_NOERASE = 0x0020;
inline constexpr unsigned RDW_NOCHILDREN = 0x0040;
inline constexpr unsigned RDW_ALLCHILDREN = 0x0080;
inline constexpr unsigned RDW_UPDATENOW = 0x0100;
inline constexpr unsigned RDW_ERASENOW = 0x0200;
inline constexpr unsigned RDW_FRAME = 0x0400;

// [SECTION] Standard scroll bars
inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;
inline constexpr int SB_CTL = 2;
inline constexpr int SB_BOTH = 3;

// Scroll codes: LOWORD of WM_HSCROLL / WM_VSCROLL wParam
inline constexpr int SB_LINEUP = 0;
inline constexpr int SB_LINELEFT = 0;
inline constexpr int SB_LINEDOWN = 1;
inline constexpr int SB_LINERIGHT = 1;
inline constexpr int SB_PAGEUP = 2;
inline constexpr int SB_PAGELEFT = 2;
inline constexpr int SB_PAGEDOWN = 3;
inline constexpr int SB_PAGERIGHT = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_THUMBTRACK = 5;
inline constexpr int SB_TOP = 6;
inline constexpr int SB_LEFT = 6;
inline constexpr int SB_BOTTOM = 7;
inline constexpr int SB_RIGHT = 7;
inline constexpr int SB_ENDSCROLL = 8;

inline constexpr unsigned SIF_RANGE = 0x0001;
inline constexpr unsigned SIF_PAGE = 0x0002;
inline constexpr unsigned SIF_POS = 0x0004;
inline constexpr unsigned SIF_DISABLENOSCROLL = 0x0008;  // disable rather than hide a bar that is not needed
inline constexpr unsigned SIF_TRACKPOS = 0x0010;
inline constexpr unsigned SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

inline constexpr unsigned ESB_ENABLE_BOTH = 0x0000;
inline constexpr unsigned ESB_DISABLE_LTUP = 0x0001;
inline constexpr unsigned ESB_DISABLE_RTDN = 0x0002;
inline constexpr unsigned ESB_DISABLE_BOTH = 0x0003;

// [SECTION] Dialog keys and dialog ids
inline constexpr unsigned DLGC_WANTARROWS = 0x0001;
inline constexpr unsigned DLGC_WANTTAB = 0x0002;
inline constexpr unsigned DLGC_WANTALLKEYS = 0x0004;
inline constexpr unsigned DLGC_WANTMESSAGE = 0x0004;
inline constexpr unsigned DLGC_HASSETSEL = 0x0008;
inline constexpr unsigned DLGC_DEFPUSHBUTTON = 0x0010;
inline constexpr unsigned DLGC_UNDEFPUSHBUTTON = 0x0020;
inline constexpr unsigned DLGC_RADIOBUTTON = 0x0040;
inline constexpr unsigned DLGC_WANTCHARS = 0x0080;
inline constexpr unsigned DLGC_STATIC = 0x0100;
inline constexpr unsigned DLGC_BUTTON = 0x2000;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr int IDCLOSE = 8;
inline constexpr int IDHELP = 9;
inline constexpr int IDTRYAGAIN = 10;
inline constexpr int IDCONTINUE = 11;
inline constexpr int ID_APPLY_NOW = 0x3021;  // a property sheet's Apply button

inline constexpr unsigned DM_GETDEFID = WM_USER + 0;
inline constexpr unsigned DM_SETDEFID = WM_USER + 1;
inline constexpr unsigned DC_HASDEFID = 0x534B;  // HIWORD of a DM_GETDEFID answer that names a default button

inline constexpr std::uint32_t DS_SETFONT = 0x0040;
inline constexpr std::uint32_t DS_MODALFRAME = 0x0080;
inline constexpr std::uint32_t DS_CONTROL = 0x0400;
inline constexpr std::uint32_t DS_CENTER = 0x0800;
inline constexpr std::uint32_t DS_SHELLFONT = 0x0048;

// [SECTION] Controls: styles, messages, notification codes
// Edit
inline constexpr std::uint32_t ES_LEFT = 0x0000;
inline constexpr std::uint32_t ES_CENTER = 0x0001;
inline constexpr std::uint32_t ES_RIGHT = 0x0002;
inline constexpr std::uint32_t ES_MULTILINE = 0x0004;
inline constexpr std::uint32_t ES_UPPERCASE = 0x0008;
inline constexpr std::uint32_t ES_LOWERCASE = 0x0010;
inline constexpr std::uint32_t ES_PASSWORD = 0x0020;
inline constexpr std::uint32_t ES_AUTOVSCROLL = 0x0040;
inline constexpr std::uint32_t ES_AUTOHSCROLL = 0x0080;
inline constexpr std::uint32_t ES_NOHIDESEL = 0x0100;
inline constexpr std::uint32_t ES_READONLY = 0x0800;
inline constexpr std::uint32_t ES_WANTRETURN = 0x1000;
inline constexpr std::uint32_t ES_NUMBER = 0x2000;

inline constexpr unsigned EM_GETSEL = 0x00B0;
inline constexpr unsigned EM_SETSEL = 0x00B1;
inline constexpr unsigned EM_GETRECT = 0x00B2;
inline constexpr unsigned EM_SCROLL = 0x00B5;
inline constexpr unsigned EM_LINESCROLL = 0x00B6;
inline constexpr unsigned EM_SCROLLCARET = 0x00B7;
inline constexpr unsigned EM_GETMODIFY = 0x00B8;
inline constexpr unsigned EM_SETMODIFY = 0x00B9;
inline constexpr unsigned EM_GETLINECOUNT = 0x00BA;
inline constexpr unsigned EM_LINEINDEX = 0x00BB;
inline constexpr unsigned EM_LINELENGTH = 0x00C1;
inline constexpr unsigned EM_REPLACESEL = 0x00C2;
inline constexpr unsigned EM_GETLINE = 0x00C4;
inline constexpr unsigned EM_LIMITTEXT = 0x00C5;
inline constexpr unsigned EM_SETLIMITTEXT = 0x00C5;
inline constexpr unsigned EM_CANUNDO = 0x00C6;
inline constexpr unsigned EM_UNDO = 0x00C7;
inline constexpr unsigned EM_LINEFROMCHAR = 0x00C9;
inline constexpr unsigned EM_SETPASSWORDCHAR = 0x00CC;
inline constexpr unsigned EM_EMPTYUNDOBUFFER = 0x00CD;
inline constexpr unsigned EM_GETFIRSTVISIBLELINE = 0x00CE;
inline constexpr unsigned EM_SETREADONLY = 0x00CF;
inline constexpr unsigned EM_GETLIMITTEXT = 0x00D5;

inline constexpr int EN_SETFOCUS = 0x0100;
inline constexpr int EN_KILLFOCUS = 0x0200;
inline constexpr int EN_CHANGE = 0x0300;
inline constexpr int EN_UPDATE = 0x0400;
inline constexpr int EN_ERRSPACE = 0x0500;
inline constexpr int EN_MAXTEXT = 0x0501;
inline constexpr int EN_HSCROLL = 0x0601;
inline constexpr int EN_VSCROLL = 0x0602;

// Button
inline constexpr std::uint32_t BS_PUSHBUTTON = 0x0000;
inline constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x0001;
inline constexpr std::uint32_t BS_CHECKBOX = 0x0002;
inline constexpr std::uint32_t BS_AUTOCHECKBOX = 0x0003;
inline constexpr std::uint32_t BS_RADIOBUTTON = 0x0004;
inline constexpr std::uint32_t BS_3STATE = 0x0005;
inline constexpr std::uint32_t BS_AUTO3STATE = 0x0006;
inline constexpr std::uint32_t BS_GROUPBOX = 0x0007;
inline constexpr std::uint32_t BS_AUTORADIOBUTTON = 0x0009;
inline constexpr std::uint32_t BS_OWNERDRAW = 0x000B;
inline constexpr std::uint32_t BS_TYPEMASK = 0x000F;
inline constexpr std::uint32_t BS_LEFTTEXT = 0x0020;
inline constexpr std::uint32_t BS_ICON = 0x0040;
inline constexpr std::uint32_t BS_BITMAP = 0x0080;
inline constexpr std::uint32_t BS_LEFT = 0x0100;
inline constexpr std::uint32_t BS_RIGHT = 0x0200;
inline constexpr std::uint32_t BS_CENTER = 0x0300;
inline constexpr std::uint32_t BS_TOP = 0x0400;
inline constexpr std::uint32_t BS_BOTTOM = 0x0800;
inline constexpr std::uint32_t BS_VCENTER = 0x0C00;
inline constexpr std::uint32_t BS_PUSHLIKE = 0x1000;
inline constexpr std::uint32_t BS_MULTILINE = 0x2000;
inline constexpr std::uint32_t BS_NOTIFY = 0x4000;
inline constexpr std::uint32_t BS_FLAT = 0x8000;

inline constexpr unsigned BM_GETCHECK = 0x00F0;
inline constexpr unsigned BM_SETCHECK = 0x00F1;
inline constexpr unsigned BM_GETSTATE = 0x00F2;
inline constexpr unsigned BM_SETSTATE = 0x00F3;
inline constexpr unsigned BM_SETSTYLE = 0x00F4;
inline constexpr unsigned BM_CLICK = 0x00F5;
inline constexpr unsigned BM_GETIMAGE = 0x00F6;
inline constexpr unsigned BM_SETIMAGE = 0x00F7;

inline constexpr int BST_UNCHECKED = 0x0000;
inline constexpr int BST_CHECKED = 0x0001;
inline constexpr int BST_INDETERMINATE = 0x0002;
inline constexpr int BST_PUSHED = 0x0004;
inline constexpr int BST_FOCUS = 0x0008;

inline constexpr int BN_CLICKED = 0;
inline constexpr int BN_PAINT = 1;
inline constexpr int BN_HILITE = 2;
inline constexpr int BN_UNHILITE = 3;
inline constexpr int BN_DISABLE = 4;
inline constexpr int BN_DOUBLECLICKED = 5;
inline constexpr int BN_SETFOCUS = 6;
inline constexpr int BN_KILLFOCUS = 7;

// Static
inline constexpr std::uint32_t SS_LEFT = 0x0000;
inline constexpr std::uint32_t SS_CENTER = 0x0001;
inline constexpr std::uint32_t SS_RIGHT = 0x0002;
inline constexpr std::uint32_t SS_ICON = 0x0003;
inline constexpr std::uint32_t SS_BLACKRECT = 0x0004;
inline constexpr std::uint32_t SS_GRAYRECT = 0x0005;
inline constexpr std::uint32_t SS_WHITERECT = 0x0006;
inline constexpr std::uint32_t SS_BLACKFRAME = 0x0007;
inline constexpr std::uint32_t SS_GRAYFRAME = 0x0008;
inline constexpr std::uint32_t SS_WHITEFRAME = 0x0009;
inline constexpr std::uint32_t SS_SIMPLE = 0x000B;
inline constexpr std::uint32_t SS_LEFTNOWORDWRAP = 0x000C;
inline constexpr std::uint32_t SS_OWNERDRAW = 0x000D;
inline constexpr std::uint32_t SS_BITMAP = 0x000E;
inline constexpr std::uint32_t SS_ETCHEDHORZ = 0x0010;
inline constexpr std::uint32_t SS_ETCHEDVERT = 0x0011;
inline constexpr std::uint32_t SS_ETCHEDFRAME = 0x0012;
inline constexpr std::uint32_t SS_TYPEMASK = 0x001F;
inline constexpr std::uint32_t SS_NOPREFIX = 0x0080;
inline constexpr std::uint32_t SS_NOTIFY = 0x0100;
inline constexpr std::uint32_t SS_CENTERIMAGE = 0x0200;
inline constexpr std::uint32_t SS_RIGHTJUST = 0x0400;
inline constexpr std::uint32_t SS_SUNKEN = 0x1000;
inline constexpr std::uint32_t SS_ENDELLIPSIS = 0x4000;

inline constexpr unsigned STM_SETIMAGE = 0x0172;
inline constexpr unsigned STM_GETIMAGE = 0x0173;
inline constexpr unsigned IMAGE_BITMAP = 0;
inline constexpr int STN_CLICKED = 0;
inline constexpr int STN_DBLCLK = 1;

// Combo box
inline constexpr std::uint32_t CBS_SIMPLE = 0x0001;
inline constexpr std::uint32_t CBS_DROPDOWN = 0x0002;
inline constexpr std::uint32_t CBS_DROPDOWNLIST = 0x0003;
inline constexpr std::uint32_t CBS_OWNERDRAWFIXED = 0x0010;
inline constexpr std::uint32_t CBS_OWNERDRAWVARIABLE = 0x0020;
inline constexpr std::uint32_t CBS_AUTOHSCROLL = 0x0040;
inline constexpr std::uint32_t CBS_SORT = 0x0100;
inline constexpr std::uint32_t CBS_HASSTRINGS = 0x0200;
inline constexpr std::uint32_t CBS_NOINTEGRALHEIGHT = 0x0400;
inline constexpr std::uint32_t CBS_DISABLENOSCROLL = 0x0800;
inline constexpr std::uint32_t CBS_UPPERCASE = 0x2000;
inline constexpr std::uint32_t CBS_LOWERCASE = 0x4000;

inline constexpr unsigned CB_GETEDITSEL = 0x0140;
inline constexpr unsigned CB_LIMITTEXT = 0x0141;
inline constexpr unsigned CB_SETEDITSEL = 0x0142;
inline constexpr unsigned CB_ADDSTRING = 0x0143;
inline constexpr unsigned CB_DELETESTRING = 0x0144;
inline constexpr unsigned CB_GETCOUNT = 0x0146;
inline constexpr unsigned CB_GETCURSEL = 0x0147;
inline constexpr unsigned CB_GETLBTEXT = 0x0148;
inline constexpr unsigned CB_GETLBTEXTLEN = 0x0149;
inline constexpr unsigned CB_INSERTSTRING = 0x014A;
inline constexpr unsigned CB_RESETCONTENT = 0x014B;
inline constexpr unsigned CB_FINDSTRING = 0x014C;
inline constexpr unsigned CB_SELECTSTRING = 0x014D;
inline constexpr unsigned CB_SETCURSEL = 0x014E;
inline constexpr unsigned CB_SHOWDROPDOWN = 0x014F;
inline constexpr unsigned CB_GETITEMDATA = 0x0150;
inline constexpr unsigned CB_SETITEMDATA = 0x0151;
inline constexpr unsigned CB_GETDROPPEDCONTROLRECT = 0x0152;
inline constexpr unsigned CB_SETITEMHEIGHT = 0x0153;
inline constexpr unsigned CB_GETITEMHEIGHT = 0x0154;
inline constexpr unsigned CB_GETDROPPEDSTATE = 0x0157;
inline constexpr unsigned CB_FINDSTRINGEXACT = 0x0158;
inline constexpr unsigned CB_GETTOPINDEX = 0x015B;
inline constexpr unsigned CB_SETTOPINDEX = 0x015C;
inline constexpr unsigned CB_GETHORIZONTALEXTENT = 0x015D;
inline constexpr unsigned CB_SETHORIZONTALEXTENT = 0x015E;
inline constexpr unsigned CB_GETDROPPEDWIDTH = 0x015F;
inline constexpr unsigned CB_SETDROPPEDWIDTH = 0x0160;
inline constexpr int CB_OKAY = 0;
inline constexpr int CB_ERR = -1;
inline constexpr int CB_ERRSPACE = -2;

inline constexpr int CBN_ERRSPACE = -1;
inline constexpr int CBN_SELCHANGE = 1;
inline constexpr int CBN_DBLCLK = 2;
inline constexpr int CBN_SETFOCUS = 3;
inline constexpr int CBN_KILLFOCUS = 4;
inline constexpr int CBN_EDITCHANGE = 5;
inline constexpr int CBN_EDITUPDATE = 6;
inline constexpr int CBN_DROPDOWN = 7;
inline constexpr int CBN_CLOSEUP = 8;
inline constexpr int CBN_SELENDOK = 9;
inline constexpr int CBN_SELENDCANCEL = 10;

inline constexpr int kComboEditId = 1001;  // the control id of a drop-down combo's edit child

// List box
inline constexpr std::uint32_t LBS_NOTIFY = 0x0001;
inline constexpr std::uint32_t LBS_SORT = 0x0002;
inline constexpr std::uint32_t LBS_NOREDRAW = 0x0004;
inline constexpr std::uint32_t LBS_MULTIPLESEL = 0x0008;
inline constexpr std::uint32_t LBS_OWNERDRAWFIXED = 0x0010;
inline constexpr std::uint32_t LBS_HASSTRINGS = 0x0040;
inline constexpr std::uint32_t LBS_USETABSTOPS = 0x0080;
inline constexpr std::uint32_t LBS_NOINTEGRALHEIGHT = 0x0100;
inline constexpr std::uint32_t LBS_WANTKEYBOARDINPUT = 0x0400;
inline constexpr std::uint32_t LBS_EXTENDEDSEL = 0x0800;
inline constexpr std::uint32_t LBS_DISABLENOSCROLL = 0x1000;
inline constexpr std::uint32_t LBS_NOSEL = 0x4000;

inline constexpr unsigned LB_ADDSTRING = 0x0180;
inline constexpr unsigned LB_INSERTSTRING = 0x0181;
inline constexpr unsigned LB_DELETESTRING = 0x0182;
inline constexpr unsigned LB_RESETCONTENT = 0x0184;
inline constexpr unsigned LB_SETSEL = 0x0185;
inline constexpr unsigned LB_SETCURSEL = 0x0186;
inline constexpr unsigned LB_GETSEL = 0x0187;
inline constexpr unsigned LB_GETCURSEL = 0x0188;
inline constexpr unsigned LB_GETTEXT = 0x0189;
inline constexpr unsigned LB_GETTEXTLEN = 0x018A;
inline constexpr unsigned LB_GETCOUNT = 0x018B;
inline constexpr unsigned LB_SELECTSTRING = 0x018C;
inline constexpr unsigned LB_GETTOPINDEX = 0x018E;
inline constexpr unsigned LB_FINDSTRING = 0x018F;
inline constexpr unsigned LB_GETSELCOUNT = 0x0190;
inline constexpr unsigned LB_GETSELITEMS = 0x0191;
inline constexpr unsigned LB_GETHORIZONTALEXTENT = 0x0193;
inline constexpr unsigned LB_SETHORIZONTALEXTENT = 0x0194;
inline constexpr unsigned LB_SETTOPINDEX = 0x0197;
inline constexpr unsigned LB_GETITEMRECT = 0x0198;
inline constexpr unsigned LB_GETITEMDATA = 0x0199;
inline constexpr unsigned LB_SETITEMDATA = 0x019A;
inline constexpr unsigned LB_SETCARETINDEX = 0x019E;
inline constexpr unsigned LB_GETCARETINDEX = 0x019F;
inline constexpr unsigned LB_SETITEMHEIGHT = 0x01A0;
inline constexpr unsigned LB_GETITEMHEIGHT = 0x01A1;
inline constexpr unsigned LB_FINDSTRINGEXACT = 0x01A2;
inline constexpr unsigned LB_ITEMFROMPOINT = 0x01A9;
inline constexpr int LB_OKAY = 0;
inline constexpr int LB_ERR = -1;
inline constexpr int LB_ERRSPACE = -2;

inline constexpr int LBN_ERRSPACE = -2;
inline constexpr int LBN_SELCHANGE = 1;
inline constexpr int LBN_DBLCLK = 2;
inline constexpr int LBN_SELCANCEL = 3;
inline constexpr int LBN_SETFOCUS = 4;
inline constexpr int LBN_KILLFOCUS = 5;

// Slider (track bar)
inline constexpr std::uint32_t TBS_AUTOTICKS = 0x0001;
inline constexpr std::uint32_t TBS_VERT = 0x0002;
inline constexpr std::uint32_t TBS_HORZ = 0x0000;
inline constexpr std::uint32_t TBS_TOP = 0x0004;
inline constexpr std::uint32_t TBS_BOTTOM = 0x0000;
inline constexpr std::uint32_t TBS_BOTH = 0x0008;
inline constexpr std::uint32_t TBS_NOTICKS = 0x0010;

inline constexpr unsigned TBM_GETPOS = WM_USER + 0;
inline constexpr unsigned TBM_GETRANGEMIN = WM_USER + 1;
inline constexpr unsigned TBM_GETRANGEMAX = WM_USER + 2;
inline constexpr unsigned TBM_SETTIC = WM_USER + 4;
inline constexpr unsigned TBM_SETPOS = WM_USER + 5;
inline constexpr unsigned TBM_SETRANGE = WM_USER + 6;
inline constexpr unsigned TBM_SETRANGEMIN = WM_USER + 7;
inline constexpr unsigned TBM_SETRANGEMAX = WM_USER + 8;
inline constexpr unsigned TBM_CLEARTICS = WM_USER + 9;
inline constexpr unsigned TBM_GETNUMTICS = WM_USER + 16;
inline constexpr unsigned TBM_SETTICFREQ = WM_USER + 20;
inline constexpr unsigned TBM_SETPAGESIZE = WM_USER + 21;
inline constexpr unsigned TBM_GETPAGESIZE = WM_USER + 22;
inline constexpr unsigned TBM_SETLINESIZE = WM_USER + 23;
inline constexpr unsigned TBM_GETLINESIZE = WM_USER + 24;
inline constexpr unsigned TBM_GETTHUMBRECT = WM_USER + 25;
inline constexpr unsigned TBM_GETCHANNELRECT = WM_USER + 26;

// Slider scroll codes, sent to the parent in WM_HSCROLL / WM_VSCROLL
inline constexpr int TB_LINEUP = 0;
inline constexpr int TB_LINEDOWN = 1;
inline constexpr int TB_PAGEUP = 2;
inline constexpr int TB_PAGEDOWN = 3;
inline constexpr int TB_THUMBPOSITION = 4;
inline constexpr int TB_THUMBTRACK = 5;
inline constexpr int TB_TOP = 6;
inline constexpr int TB_BOTTOM = 7;
inline constexpr int TB_ENDTRACK = 8;

// Tab control
inline constexpr std::uint32_t TCS_TABS = 0x0000;
inline constexpr std::uint32_t TCS_BUTTONS = 0x0100;
inline constexpr std::uint32_t TCS_MULTILINE = 0x0200;
inline constexpr std::uint32_t TCS_FIXEDWIDTH = 0x0400;
inline constexpr std::uint32_t TCS_FOCUSNEVER = 0x8000;

inline constexpr unsigned TCM_FIRST = 0x1300;
inline constexpr unsigned TCM_GETITEMCOUNT = TCM_FIRST + 4;
inline constexpr unsigned TCM_GETITEM = TCM_FIRST + 5;
inline constexpr unsigned TCM_SETITEM = TCM_FIRST + 6;
inline constexpr unsigned TCM_INSERTITEM = TCM_FIRST + 7;
inline constexpr unsigned TCM_DELETEITEM = TCM_FIRST + 8;
inline constexpr unsigned TCM_DELETEALLITEMS = TCM_FIRST + 9;
inline constexpr unsigned TCM_GETITEMRECT = TCM_FIRST + 10;
inline constexpr unsigned TCM_GETCURSEL = TCM_FIRST + 11;
inline constexpr unsigned TCM_SETCURSEL = TCM_FIRST + 12;
inline constexpr unsigned TCM_HITTEST = TCM_FIRST + 13;
inline constexpr unsigned TCM_ADJUSTRECT = TCM_FIRST + 40;
inline constexpr unsigned TCM_GETCURFOCUS = TCM_FIRST + 47;
inline constexpr unsigned TCM_SETCURFOCUS = TCM_FIRST + 48;
inline constexpr unsigned TCIF_TEXT = 0x0001;
inline constexpr unsigned TCIF_IMAGE = 0x0002;
inline constexpr unsigned TCIF_PARAM = 0x0008;

// Spin (up-down)
inline constexpr std::uint32_t UDS_WRAP = 0x0001;
inline constexpr std::uint32_t UDS_SETBUDDYINT = 0x0002;
inline constexpr std::uint32_t UDS_ALIGNRIGHT = 0x0004;
inline constexpr std::uint32_t UDS_ALIGNLEFT = 0x0008;
inline constexpr std::uint32_t UDS_AUTOBUDDY = 0x0010;
inline constexpr std::uint32_t UDS_ARROWKEYS = 0x0020;
inline constexpr std::uint32_t UDS_HORZ = 0x0040;
inline constexpr std::uint32_t UDS_NOTHOUSANDS = 0x0080;
inline constexpr unsigned UDM_SETRANGE = WM_USER + 101;
inline constexpr unsigned UDM_GETRANGE = WM_USER + 102;
inline constexpr unsigned UDM_SETPOS = WM_USER + 103;
inline constexpr unsigned UDM_GETPOS = WM_USER + 104;
inline constexpr unsigned UDM_SETBUDDY = WM_USER + 105;
inline constexpr unsigned UDM_GETBUDDY = WM_USER + 106;
inline constexpr unsigned UDM_SETRANGE32 = WM_USER + 111;
inline constexpr unsigned UDM_GETRANGE32 = WM_USER + 112;
inline constexpr unsigned UDM_SETPOS32 = WM_USER + 113;
inline constexpr unsigned UDM_GETPOS32 = WM_USER + 114;

// Property sheets
inline constexpr unsigned PSH_NOAPPLYNOW = 0x0080;
inline constexpr unsigned PSM_SETCURSEL = WM_USER + 101;
inline constexpr unsigned PSM_CHANGED = WM_USER + 104;
inline constexpr unsigned PSM_UNCHANGED = WM_USER + 109;
inline constexpr unsigned PSM_APPLY = WM_USER + 110;
inline constexpr unsigned PSM_PRESSBUTTON = WM_USER + 113;
inline constexpr unsigned PSM_GETCURRENTPAGEHWND = WM_USER + 118;
inline constexpr int PSBTN_OK = 3;
inline constexpr int PSBTN_APPLYNOW = 4;
inline constexpr int PSBTN_CANCEL = 5;
inline constexpr int PSNRET_NOERROR = 0;
inline constexpr int PSNRET_INVALID = 1;
inline constexpr int PSNRET_INVALID_NOCHANGEPAGE = 2;

// Tool tips
inline constexpr std::uint32_t TTS_ALWAYSTIP = 0x0001;
inline constexpr std::uint32_t TTS_NOPREFIX = 0x0002;
inline constexpr int TTDT_AUTOMATIC = 0;
inline constexpr int TTDT_RESHOW = 1;
inline constexpr int TTDT_AUTOPOP = 2;
inline constexpr int TTDT_INITIAL = 3;

// [SECTION] WM_NOTIFY codes (NotifyHeader::code)
inline constexpr int NM_OUTOFMEMORY = -1;
inline constexpr int NM_CLICK = -2;
inline constexpr int NM_DBLCLK = -3;
inline constexpr int NM_RETURN = -4;
inline constexpr int NM_RCLICK = -5;
inline constexpr int NM_RDBLCLK = -6;
inline constexpr int NM_SETFOCUS = -7;
inline constexpr int NM_KILLFOCUS = -8;
inline constexpr int NM_CUSTOMDRAW = -12;
inline constexpr int NM_HOVER = -13;
inline constexpr int NM_RELEASEDCAPTURE = -16;
inline constexpr int LVN_ITEMCHANGING = -100;
inline constexpr int LVN_ITEMCHANGED = -101;
inline constexpr int LVN_BEGINLABELEDIT = -175;  // the wide-text codes, which table controls send
inline constexpr int LVN_ENDLABELEDIT = -176;
inline constexpr int PSN_SETACTIVE = -200;
inline constexpr int PSN_KILLACTIVE = -201;
inline constexpr int PSN_APPLY = -202;
inline constexpr int PSN_RESET = -203;
inline constexpr int PSN_HELP = -205;
inline constexpr int PSN_QUERYCANCEL = -209;
inline constexpr int TTN_GETDISPINFO = -520;
inline constexpr int TTN_SHOW = -521;
inline constexpr int TTN_POP = -522;
inline constexpr int TCN_KEYDOWN = -550;
inline constexpr int TCN_SELCHANGE = -551;
inline constexpr int TCN_SELCHANGING = -552;
inline constexpr int UDN_DELTAPOS = -722;

// [SECTION] Message boxes and file dialogs
inline constexpr unsigned MB_OK = 0x0000;
inline constexpr unsigned MB_OKCANCEL = 0x0001;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x0002;
inline constexpr unsigned MB_YESNOCANCEL = 0x0003;
inline constexpr unsigned MB_YESNO = 0x0004;
inline constexpr unsigned MB_RETRYCANCEL = 0x0005;
inline constexpr unsigned MB_CANCELTRYCONTINUE = 0x0006;
inline constexpr unsigned MB_ICONHAND = 0x0010;
inline constexpr unsigned MB_ICONERROR = 0x0010;
inline constexpr unsigned MB_ICONSTOP = 0x0010;
inline constexpr unsigned MB_ICONQUESTION = 0x0020;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x0030;
inline constexpr unsigned MB_ICONWARNING = 0x0030;
inline constexpr unsigned MB_ICONASTERISK = 0x0040;
inline constexpr unsigned MB_ICONINFORMATION = 0x0040;
inline constexpr unsigned MB_DEFBUTTON1 = 0x0000;
inline constexpr unsigned MB_DEFBUTTON2 = 0x0100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x0200;
inline constexpr unsigned MB_DEFBUTTON4 = 0x0300;
inline constexpr unsigned MB_APPLMODAL = 0x0000;
inline constexpr unsigned MB_SYSTEMMODAL = 0x1000;
inline constexpr unsigned MB_TASKMODAL = 0x2000;
inline constexpr unsigned MB_HELP = 0x4000;
inline constexpr unsigned MB_SETFOREGROUND = 0x10000;
inline constexpr unsigned MB_TOPMOST = 0x40000;
inline constexpr unsigned MB_TYPEMASK = 0x000F;
inline constexpr unsigned MB_ICONMASK = 0x00F0;
inline constexpr unsigned MB_DEFMASK = 0x0F00;

inline constexpr unsigned OFN_READONLY = 0x00000001;
inline constexpr unsigned OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr unsigned OFN_HIDEREADONLY = 0x00000004;
inline constexpr unsigned OFN_NOCHANGEDIR = 0x00000008;
inline constexpr unsigned OFN_SHOWHELP = 0x00000010;
inline constexpr unsigned OFN_NOVALIDATE = 0x00000100;
inline constexpr unsigned OFN_ALLOWMULTISELECT = 0x00000200;
inline constexpr unsigned OFN_EXTENSIONDIFFERENT = 0x00000400;
inline constexpr unsigned OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr unsigned OFN_FILEMUSTEXIST = 0x00001000;
inline constexpr unsigned OFN_CREATEPROMPT = 0x00002000;
inline constexpr unsigned OFN_NOREADONLYRETURN = 0x00008000;
inline constexpr unsigned OFN_NOTESTFILECREATE = 0x00010000;
inline constexpr unsigned OFN_EXPLORER = 0x00080000;
inline constexpr unsigned OFN_LONGNAMES = 0x00200000;
inline constexpr unsigned OFN_ENABLESIZING = 0x00800000;
inline constexpr unsigned OFN_DONTADDTORECENT = 0x02000000;

inline constexpr unsigned BIF_RETURNONLYFSDIRS = 0x0001;
inline constexpr unsigned BIF_EDITBOX = 0x0010;
inline constexpr unsigned BIF_NEWDIALOGSTYLE = 0x0040;

// [SECTION] Drawing
inline constexpr int TRANSPARENT = 1;  // background modes
inline constexpr int OPAQUE = 2;

inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr int PS_DASHDOT = 3;
inline constexpr int PS_DASHDOTDOT = 4;
inline constexpr int PS_NULL = 5;
inline constexpr int PS_INSIDEFRAME = 6;

// Stock objects
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int HOLLOW_BRUSH = NULL_BRUSH;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
inline constexpr int SYSTEM_FONT = 13;
inline constexpr int DEFAULT_GUI_FONT = 17;

// Raster operations
inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;
inline constexpr std::uint32_t SRCPAINT = 0x00EE0086;
inline constexpr std::uint32_t SRCAND = 0x008800C6;
inline constexpr std::uint32_t SRCINVERT = 0x00660046;
inline constexpr std::uint32_t PATCOPY = 0x00F00021;
inline constexpr std::uint32_t PATINVERT = 0x005A0049;
inline constexpr std::uint32_t DSTINVERT = 0x00550009;
inline constexpr std::uint32_t BLACKNESS = 0x00000042;
inline constexpr std::uint32_t WHITENESS = 0x00FF0062;

// DrawEdge
inline constexpr unsigned BDR_RAISEDOUTER = 0x0001;
inline constexpr unsigned BDR_SUNKENOUTER = 0x0002;
inline constexpr unsigned BDR_RAISEDINNER = 0x0004;
inline constexpr unsigned BDR_SUNKENINNER = 0x0008;
inline constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
inline constexpr unsigned BF_LEFT = 0x0001;
inline constexpr unsigned BF_TOP = 0x0002;
inline constexpr unsigned BF_RIGHT = 0x0004;
inline constexpr unsigned BF_BOTTOM = 0x0008;
inline constexpr unsigned BF_TOPLEFT = BF_TOP | BF_LEFT;
inline constexpr unsigned BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
inline constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
inline constexpr unsigned BF_MIDDLE = 0x0800;
inline constexpr unsigned BF_SOFT = 0x1000;
inline constexpr unsigned BF_ADJUST = 0x2000;
inline constexpr unsigned BF_FLAT = 0x4000;
inline constexpr unsigned BF_MONO = 0x8000;

// DrawFrameControl
inline constexpr unsigned DFC_CAPTION = 1;
inline constexpr unsigned DFC_MENU = 2;
inline constexpr unsigned DFC_SCROLL = 3;
inline constexpr unsigned DFC_BUTTON = 4;
inline constexpr unsigned DFCS_CAPTIONCLOSE = 0x0000;
inline constexpr unsigned DFCS_SCROLLUP = 0x0000;
inline constexpr unsigned DFCS_SCROLLDOWN = 0x0001;
inline constexpr unsigned DFCS_SCROLLLEFT = 0x0002;
inline constexpr unsigned DFCS_SCROLLRIGHT = 0x0003;
inline constexpr unsigned DFCS_SCROLLCOMBOBOX = 0x0005;
inline constexpr unsigned DFCS_BUTTONCHECK = 0x0000;
inline constexpr unsigned DFCS_BUTTONRADIO = 0x0004;
inline constexpr unsigned DFCS_BUTTON3STATE = 0x0008;
inline constexpr unsigned DFCS_BUTTONPUSH = 0x0010;
inline constexpr unsigned DFCS_INACTIVE = 0x0100;
inline constexpr unsigned DFCS_PUSHED = 0x0200;
inline constexpr unsigned DFCS_CHECKED = 0x0400;
inline constexpr unsigned DFCS_FLAT = 0x4000;
inline constexpr unsigned DFCS_MONO = 0x8000;

// DrawText formats
inline constexpr unsigned DT_TOP = 0x00000000;
inline constexpr unsigned DT_LEFT = 0x00000000;
inline constexpr unsigned DT_CENTER = 0x00000001;
inline constexpr unsigned DT_RIGHT = 0x00000002;
inline constexpr unsigned DT_VCENTER = 0x00000004;  // with DT_SINGLELINE only
inline constexpr unsigned DT_BOTTOM = 0x00000008;   // with DT_SINGLELINE only
inline constexpr unsigned DT_WORDBREAK = 0x00000010;
inline constexpr unsigned DT_SINGLELINE = 0x00000020;
inline constexpr unsigned DT_EXPANDTABS = 0x00000040;
inline constexpr unsigned DT_TABSTOP = 0x00000080;
inline constexpr unsigned DT_NOCLIP = 0x00000100;
inline constexpr unsigned DT_EXTERNALLEADING = 0x00000200;
inline constexpr unsigned DT_CALCRECT = 0x00000400;
inline constexpr unsigned DT_NOPREFIX = 0x00000800;
inline constexpr unsigned DT_INTERNAL = 0x00001000;
inline constexpr unsigned DT_EDITCONTROL = 0x00002000;
inline constexpr unsigned DT_PATH_ELLIPSIS = 0x00004000;
inline constexpr unsigned DT_END_ELLIPSIS = 0x00008000;
inline constexpr unsigned DT_MODIFYSTRING = 0x00010000;
inline constexpr unsigned DT_WORD_ELLIPSIS = 0x00040000;
inline constexpr unsigned DT_HIDEPREFIX = 0x00100000;
inline constexpr unsigned DT_PREFIXONLY = 0x00200000;

// TextOut alignment
inline constexpr unsigned TA_LEFT = 0;
inline constexpr unsigned TA_RIGHT = 2;
inline constexpr unsigned TA_CENTER = 6;
inline constexpr unsigned TA_TOP = 0;
inline constexpr unsigned TA_BOTTOM = 8;
inline constexpr unsigned TA_BASELINE = 24;

// Fonts
inline constexpr int FW_DONTCARE = 0;
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_BOLD = 700;
inline constexpr int ANSI_CHARSET = 0;
inline constexpr int DEFAULT_CHARSET = 1;
inline constexpr int RUSSIAN_CHARSET = 204;

// [SECTION] System colours (GetSysColor indices)
inline constexpr int COLOR_SCROLLBAR = 0;
inline constexpr int COLOR_BACKGROUND = 1;
inline constexpr int COLOR_DESKTOP = 1;
inline constexpr int COLOR_ACTIVECAPTION = 2;
inline constexpr int COLOR_INACTIVECAPTION = 3;
inline constexpr int COLOR_MENU = 4;
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWFRAME = 6;
inline constexpr int COLOR_MENUTEXT = 7;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_CAPTIONTEXT = 9;
inline constexpr int COLOR_ACTIVEBORDER = 10;
inline constexpr int COLOR_INACTIVEBORDER = 11;
inline constexpr int COLOR_APPWORKSPACE = 12;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_3DFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_3DSHADOW = 16;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;
inline constexpr int COLOR_3DHIGHLIGHT = 20;
inline constexpr int COLOR_3DHILIGHT = 20;
inline constexpr int COLOR_3DDKSHADOW = 21;
inline constexpr int COLOR_3DLIGHT = 22;
inline constexpr int COLOR_INFOTEXT = 23;
inline constexpr int COLOR_INFOBK = 24;
inline constexpr int COLOR_HOTLIGHT = 26;
inline constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
inline constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
inline constexpr int COLOR_MENUHILIGHT = 29;
inline constexpr int COLOR_MENUBAR = 30;
inline constexpr int kSysColorCount = 31;

// [SECTION] System metrics (GetSystemMetrics indices)
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CYHSCROLL = 3;
inline constexpr int SM_CYCAPTION = 4;
inline constexpr int SM_CXBORDER = 5;
inline constexpr int SM_CYBORDER = 6;
inline constexpr int SM_CXDLGFRAME = 7;
inline constexpr int SM_CXFIXEDFRAME = 7;
inline constexpr int SM_CYDLGFRAME = 8;
inline constexpr int SM_CYFIXEDFRAME = 8;
inline constexpr int SM_CYVTHUMB = 9;
inline constexpr int SM_CXHTHUMB = 10;
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
inline constexpr int SM_CXCURSOR = 13;
inline constexpr int SM_CYCURSOR = 14;
inline constexpr int SM_CYMENU = 15;
inline constexpr int SM_CXFULLSCREEN = 16;
inline constexpr int SM_CYFULLSCREEN = 17;
inline constexpr int SM_MOUSEPRESENT = 19;
inline constexpr int SM_CYVSCROLL = 20;
inline constexpr int SM_CXHSCROLL = 21;
inline constexpr int SM_SWAPBUTTON = 23;
inline constexpr int SM_CXMIN = 28;
inline constexpr int SM_CYMIN = 29;
inline constexpr int SM_CXSIZE = 30;
inline constexpr int SM_CYSIZE = 31;
inline constexpr int SM_CXFRAME = 32;
inline constexpr int SM_CXSIZEFRAME = 32;
inline constexpr int SM_CYFRAME = 33;
inline constexpr int SM_CYSIZEFRAME = 33;
inline constexpr int SM_CXDOUBLECLK = 36;
inline constexpr int SM_CYDOUBLECLK = 37;
inline constexpr int SM_CXEDGE = 45;
inline constexpr int SM_CYEDGE = 46;
inline constexpr int SM_CXSMICON = 49;
inline constexpr int SM_CYSMICON = 50;
inline constexpr int SM_CXDRAG = 68;
inline constexpr int SM_CYDRAG = 69;
inline constexpr int SM_CXMENUCHECK = 71;
inline constexpr int SM_CYMENUCHECK = 72;
inline constexpr int SM_MOUSEWHEELPRESENT = 75;
inline constexpr int SM_CMONITORS = 80;
inline constexpr int kSystemMetricCount = 100;

// SystemParametersInfo actions the layer answers
inline constexpr unsigned SPI_GETNONCLIENTMETRICS = 0x0029;
inline constexpr unsigned SPI_GETWORKAREA = 0x0030;
inline constexpr unsigned SPI_GETWHEELSCROLLLINES = 0x0068;
inline constexpr unsigned SPI_SETWHEELSCROLLLINES = 0x0069;

// [SECTION] Cursors and icons (resource ids of the standard ones)
inline constexpr int IDC_ARROW = 32512;
inline constexpr int IDC_IBEAM = 32513;
inline constexpr int IDC_WAIT = 32514;
inline constexpr int IDC_CROSS = 32515;
inline constexpr int IDC_UPARROW = 32516;
inline constexpr int IDC_SIZENWSE = 32642;
inline constexpr int IDC_SIZENESW = 32643;
inline constexpr int IDC_SIZEWE = 32644;
inline constexpr int IDC_SIZENS = 32645;
inline constexpr int IDC_SIZEALL = 32646;
inline constexpr int IDC_NO = 32648;
inline constexpr int IDC_HAND = 32649;
inline constexpr int IDC_APPSTARTING = 32650;
inline constexpr int IDC_HELP = 32651;

inline constexpr int IDI_APPLICATION = 32512;
inline constexpr int IDI_HAND = 32513;
inline constexpr int IDI_ERROR = 32513;
inline constexpr int IDI_QUESTION = 32514;
inline constexpr int IDI_EXCLAMATION = 32515;
inline constexpr int IDI_WARNING = 32515;
inline constexpr int IDI_ASTERISK = 32516;
inline constexpr int IDI_INFORMATION = 32516;

// [SECTION] Clipboard formats and drop effects
inline constexpr unsigned CF_TEXT = 1;
inline constexpr unsigned CF_BITMAP = 2;
inline constexpr unsigned CF_OEMTEXT = 7;
inline constexpr unsigned CF_UNICODETEXT = 13;
inline constexpr unsigned CF_HDROP = 15;

inline constexpr std::uint32_t DROPEFFECT_NONE = 0;
inline constexpr std::uint32_t DROPEFFECT_COPY = 1;
inline constexpr std::uint32_t DROPEFFECT_MOVE = 2;
inline constexpr std::uint32_t DROPEFFECT_LINK = 4;
inline constexpr std::uint32_t DROPEFFECT_SCROLL = 0x80000000;

// [SECTION] Standard window class names
inline constexpr std::string_view kButtonClass = "Button";
inline constexpr std::string_view kEditClass = "Edit";
inline constexpr std::string_view kStaticClass = "Static";
inline constexpr std::string_view kListBoxClass = "ListBox";
inline constexpr std::string_view kComboBoxClass = "ComboBox";
inline constexpr std::string_view kComboListClass = "ComboLBox";  // the drop-down list popup of a combo
inline constexpr std::string_view kScrollBarClass = "ScrollBar";
inline constexpr std::string_view kSliderClass = "msctls_trackbar32";
inline constexpr std::string_view kTabControlClass = "SysTabControl32";
inline constexpr std::string_view kSpinClass = "msctls_updown32";
inline constexpr std::string_view kToolTipClass = "tooltips_class32";
inline constexpr std::string_view kDialogClass = "#32770";
inline constexpr std::string_view kPlainWindowClass = "Window";  // a plain window: arrow cursor, window colour

}  // namespace host::ui
