// The Control Panel host's interface to its applets.
//
// An applet file is a shared library (named *.cpl) that exports one function with C linkage,
// CPlApplet. The host (quilan-control) loads the file and talks to it only through that
// function, with the messages below, all on the host's user-interface thread:
//
//   CPL_INIT                         once after loading; 0 means "do not load me"
//   CPL_GETCOUNT                     how many applets the file holds
//   CPL_INQUIRE     (n, _CplInfo*)   per applet, the old-style record
//   CPL_NEWINQUIRE  (n, _NewCplInfo*) per applet, the new-style record (preferred by the host)
//   CPL_DBLCLK      (n, lData)       each time the user opens applet n
//   CPL_STOP        (n, lData)       per applet, before unloading
//   CPL_EXIT                         once, just before the file is unloaded
//
// The first argument is always the host's window. Records are filled by the applet in place;
// the host owns them and they live for the one call only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/sys/Export.h"
#include "platform/sys/Messages.h"
#include "platform/ui/Module.h"
#include "platform/ui/Window.h"

inline constexpr std::uint32_t CPL_INIT = 1;
inline constexpr std::uint32_t CPL_GETCOUNT = 2;
inline constexpr std::uint32_t CPL_INQUIRE = 3;
inline constexpr std::uint32_t CPL_SELECT = 4;
inline constexpr std::uint32_t CPL_DBLCLK = 5;
inline constexpr std::uint32_t CPL_STOP = 6;
inline constexpr std::uint32_t CPL_EXIT = 7;
inline constexpr std::uint32_t CPL_NEWINQUIRE = 8;

// The exported entry of every applet file, looked up by this name.
inline constexpr const char* kCplAppletSymbol = "CPlApplet";
using CplAppletProc = std::int32_t (*)(sys::WindowHandle hwndCPl, std::uint32_t uMsg,
                                       std::intptr_t lParam1, std::intptr_t lParam2);

// A 32-bit icon handle (0: no icon) made by CplLoadIcon below.
using CplIconHandle = std::uint32_t;

// Old-style applet information: resource ids in the applet's own tables.
struct _CplInfo {
    std::int32_t idIcon;
    std::int32_t idName;
    std::int32_t idInfo;
    std::int32_t lData;
};
static_assert(sizeof(_CplInfo) == 16);

// New-style applet information, 8-bit texts (the ANSI form): 5 words and three texts.
struct _NewCplInfo {
    std::uint32_t dwSize;         // sizeof(_NewCplInfo) when filled
    std::uint32_t dwFlags;        // none defined; 0
    std::uint32_t dwHelpContext;  // topic number in szHelpFile
    std::int32_t lData;           // given back with CPL_DBLCLK and CPL_STOP
    CplIconHandle hIcon;          // the applet's icon, or 0
    char szName[32];              // short name, under the icon
    char szInfo[64];              // one-line description
    char szHelpFile[128];         // may be empty
};
static_assert(offsetof(_NewCplInfo, dwSize) == 0);
static_assert(offsetof(_NewCplInfo, dwFlags) == 4);
static_assert(offsetof(_NewCplInfo, dwHelpContext) == 8);
static_assert(offsetof(_NewCplInfo, lData) == 12);
static_assert(offsetof(_NewCplInfo, hIcon) == 16);
static_assert(offsetof(_NewCplInfo, szName) == 20);
static_assert(offsetof(_NewCplInfo, szInfo) == 52);
static_assert(offsetof(_NewCplInfo, szHelpFile) == 116);
static_assert(sizeof(_NewCplInfo) == 244);

// Icons cross from an applet file to the host as handles, since the applet's resources go away
// when the file is unloaded: CplLoadIcon copies icon `id` of `module` into the process's icon
// table and returns its handle (0 when the module has no such icon); CplIconImage gives the
// copy back (null for 0 or an unknown handle). Handles stay valid for the life of the process.
// Any thread may call both.
QUILAN_EXPORT CplIconHandle CplLoadIcon(const ui::Module& module, std::uint32_t id);
QUILAN_EXPORT const ui::Image* CplIconImage(CplIconHandle icon);

// The host's window answers this registered message, sent on its own thread, with its toolkit
// window object, so that an applet can make it the parent of the windows it opens.
inline constexpr const char* kCplWindowObjectMessage = "Quilan_Cpl_Window_Object";

// The toolkit window object of `hwndCPl`, the host's window given with the applet's messages;
// null when it is not a window of this process or does not answer. Call on the window's thread.
QUILAN_EXPORT ui::Window* CplWindowObject(sys::WindowHandle hwndCPl);
