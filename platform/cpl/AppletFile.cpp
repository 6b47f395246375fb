#include "platform/cpl/AppletFile.h"

#include <dlfcn.h>

#include <cstring>
#include <filesystem>

namespace {

// The applet's texts need not be terminated inside their arrays: never read past them.
template <std::size_t N>
std::string Text(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

}  // namespace

CAppletFile::~CAppletFile() {
    Unload();
}

std::int32_t CAppletFile::Send(std::uint32_t message, std::intptr_t lParam1,
                               std::intptr_t lParam2) {
    return m_pProc(m_host, message, lParam1, lParam2);
}

bool CAppletFile::Load(const std::string& path, sys::WindowHandle host, std::string* error) {
    Unload();
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* reason = dlerror();
        *error = reason ? reason : "cannot be loaded";
        return false;
    }
    auto proc = reinterpret_cast<CplAppletProc>(dlsym(library, kCplAppletSymbol));
    if (!proc) {
        *error = path + ": not an applet file (no CPlApplet)";
        dlclose(library);
        return false;
    }
    m_path = path;
    m_pLibrary = library;
    m_pProc = proc;
    m_host = host;
    if (Send(CPL_INIT) == 0) {
        *error = path + ": the applet refused to start";
        dlclose(m_pLibrary);
        m_pLibrary = nullptr;
        return false;
    }
    std::int32_t count = Send(CPL_GETCOUNT);
    for (int n = 0; n < count; ++n) {
        m_applets.push_back(Inquire(n));
    }
    if (m_applets.empty()) {
        *error = path + ": holds no applet";
        Unload();
        return false;
    }
    return true;
}

CAppletFile::Applet CAppletFile::Inquire(int n) {
    _CplInfo old{};
    Send(CPL_INQUIRE, n, reinterpret_cast<std::intptr_t>(&old));
    _NewCplInfo info{};
    Send(CPL_NEWINQUIRE, n, reinterpret_cast<std::intptr_t>(&info));

    Applet applet;
    if (info.dwSize == sizeof(_NewCplInfo)) {
        applet.name = Text(info.szName);
        applet.info = Text(info.szInfo);
        applet.helpFile = Text(info.szHelpFile);
        applet.helpContext = info.dwHelpContext;
        applet.icon = info.hIcon;
        applet.lData = info.lData;
    } else {
        applet.lData = old.lData;
    }
    if (applet.name.empty()) {
        applet.name = std::filesystem::path(m_path).stem().string();
    }
    return applet;
}

void CAppletFile::Open(int n) {
    if (m_pLibrary && n >= 0 && n < static_cast<int>(m_applets.size())) {
        Send(CPL_DBLCLK, n, m_applets[n].lData);
    }
}

void CAppletFile::Unload() {
    if (!m_pLibrary) {
        return;
    }
    for (int n = 0; n < static_cast<int>(m_applets.size()); ++n) {
        Send(CPL_STOP, n, m_applets[n].lData);
    }
    Send(CPL_EXIT);
    dlclose(m_pLibrary);
    m_pLibrary = nullptr;
    m_pProc = nullptr;
    m_applets.clear();
}
