// One applet file loaded by the host, and the applets it holds.
//
// Load opens the shared library, finds CPlApplet and sends CPL_INIT, CPL_GETCOUNT and, per
// applet, CPL_INQUIRE and CPL_NEWINQUIRE; Open sends CPL_DBLCLK; Unload (also the destructor)
// sends CPL_STOP per applet and CPL_EXIT, then closes the library. The object owns the library
// handle; every member is called on the host's user-interface thread, the thread the applet's
// windows run on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/cpl/Cpl.h"

class CAppletFile {
  public:
    struct Applet {
        std::string name;  // the file's name when the applet gave none
        std::string info;
        std::string helpFile;
        std::uint32_t helpContext = 0;
        CplIconHandle icon = 0;
        std::int32_t lData = 0;
    };

    CAppletFile() = default;
    ~CAppletFile();
    CAppletFile(const CAppletFile&) = delete;
    CAppletFile& operator=(const CAppletFile&) = delete;

    // `host` is the host's window, given to the applet with every message. False, with a reason
    // in `error`, when the file cannot be loaded, has no CPlApplet, refuses CPL_INIT (the file is
    // then closed without further messages) or holds no applet (CPL_EXIT, then closed).
    bool Load(const std::string& path, sys::WindowHandle host, std::string* error);
    bool IsLoaded() const { return m_pLibrary != nullptr; }
    const std::string& Path() const { return m_path; }
    const std::vector<Applet>& Applets() const { return m_applets; }

    // The user opens applet `n`; returns when the applet has finished with it.
    void Open(int n);
    void Unload();

  private:
    std::int32_t Send(std::uint32_t message, std::intptr_t lParam1 = 0, std::intptr_t lParam2 = 0);
    Applet Inquire(int n);

    std::string m_path;
    void* m_pLibrary = nullptr;
    CplAppletProc m_pProc = nullptr;
    sys::WindowHandle m_host = 0;
    std::vector<Applet> m_applets;
};
