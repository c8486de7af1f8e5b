#include "Messages.h"

#include "ApplicationTitle.h"

#include <windows.h>

#include <vector>

std::wstring ApplicationTitle() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) return ApplicationTitleFromPath(std::wstring_view(path.data(), length));
        path.resize(path.size() * 2);
    }
}

namespace {
MessageSink messageSink = nullptr;
}

void SetMessageSinkForTests(MessageSink sink) {
    messageSink = sink;
}

void ShowPlainMessage(const std::wstring& text) {
    if (messageSink) {
        messageSink(text);
        return;
    }
    // No owner window: the box is centred on the screen.
    ::MessageBoxW(nullptr, text.c_str(), ApplicationTitle().c_str(), MB_OK | MB_TASKMODAL);
}

void ShowInstallationError() {
    ShowPlainMessage(
        L"Erro detectado durante o processo de instalação. É provável que você precise de privilégio de "
        L"administrador para realizar essa tarefa.");
}

void ShowErrorMessage(const std::wstring& text) {
    if (messageSink) {
        messageSink(text);
        return;
    }
    ::MessageBoxW(nullptr, text.c_str(), ApplicationTitle().c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}
