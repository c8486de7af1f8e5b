#include "Messages.h"

#include "ApplicationTitle.h"
#include "ProgramPath.h"

#include <windows.h>

#include <vector>

std::wstring ApplicationTitle() { return ApplicationTitleFromPath(ProgramPath()); }

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

bool AskYesNo(const std::wstring& text, bool noByDefault) {
    if (messageSink) {
        messageSink(text);
        return true;
    }
    const UINT defaultButton = noByDefault ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
    return ::MessageBoxW(nullptr, text.c_str(), ApplicationTitle().c_str(), MB_YESNO | defaultButton | MB_TASKMODAL) ==
           IDYES;
}

void ShowErrorMessage(const std::wstring& text) {
    if (messageSink) {
        messageSink(text);
        return;
    }
    ::MessageBoxW(nullptr, text.c_str(), ApplicationTitle().c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}
