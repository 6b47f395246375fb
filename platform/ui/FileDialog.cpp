#include "platform/ui/FileDialog.h"

#include <filesystem>

#include "platform/ui/UiThread.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {

std::string Trim(const std::string& text) {
    std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) {
        return {};
    }
    std::size_t end = text.find_last_not_of(' ');
    return text.substr(begin, end - begin + 1);
}

}  // namespace

std::vector<FileFilter> ParseFileFilter(const std::string& filter) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= filter.size()) {
        std::size_t bar = filter.find('|', start);
        if (bar == std::string::npos) {
            bar = filter.size();
        }
        parts.push_back(Trim(filter.substr(start, bar - start)));
        start = bar + 1;
    }
    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() && parts[i + 1].empty()) {
            break;  // "||" ends the list
        }
        filters.push_back({parts[i], parts[i + 1]});
    }
    return filters;
}

FileDialog::FileDialog(std::string defaultExtension, std::string initialName, unsigned flags,
                       std::string filter, Window* owner) {
    m_request.owner = owner;
    m_request.title = "Open";
    m_request.filters = ParseFileFilter(filter);
    m_request.defaultExtension = std::move(defaultExtension);
    m_request.initialName = std::move(initialName);
    m_request.bPathMustExist = (flags & kPathMustExist) != 0;
    m_request.bFileMustExist = (flags & kFileMustExist) != 0;
    m_request.bHideReadOnly = (flags & kHideReadOnly) != 0;
}

int FileDialog::DoModal() {
    namespace fs = std::filesystem;
    UiThread& thread = UiThread::Current();
    if (!m_request.owner) {
        m_request.owner = thread.ActiveModal();
    }
    std::string chosen;
    while (thread.Front().OpenFile(m_request, &chosen)) {
        fs::path path(chosen);
        if (path.is_relative() && !m_request.initialDirectory.empty()) {
            path = fs::path(m_request.initialDirectory) / path;
        }
        if (!path.has_extension() && !m_request.defaultExtension.empty() && !fs::exists(path)) {
            path += "." + m_request.defaultExtension;
        }
        std::error_code error;
        path = fs::absolute(path, error).lexically_normal();
        std::string problem;
        if (m_request.bPathMustExist && !fs::is_directory(path.parent_path(), error)) {
            problem = "Path does not exist.\nCheck the path and try again.";
        } else if (m_request.bFileMustExist && !fs::is_regular_file(path, error)) {
            problem = "File not found.\nCheck the file name and try again.";
        }
        if (problem.empty()) {
            m_path = path.string();
            return kIdOk;
        }
        MessageBoxRequest box;
        box.owner = m_request.owner;
        box.title = m_request.title;
        box.text = path.string() + "\n" + problem;
        box.icon = Icon::Exclamation;
        thread.Front().MessageBox(box);
    }
    return kIdCancel;
}

}  // namespace ui
