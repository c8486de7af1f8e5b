// The installer's message boxes, all captioned with the application's title.
#pragma once

#include <string>

// The running executable's title (see ApplicationTitleFromPath).
std::wstring ApplicationTitle();

// A plain message: one OK button, no icon, centred on the screen.
void ShowPlainMessage(const std::wstring& text);

// A question with the Yes and No buttons, no icon, centred on the screen; true
// for Yes. No is the default button when noByDefault. Tests that take the
// messages get Yes.
bool AskYesNo(const std::wstring& text, bool noByDefault = false);

// Tests take the messages (plain and error) instead of a box that nobody would close;
// nullptr gives the boxes back.
using MessageSink = void (*)(const std::wstring& text);
void SetMessageSinkForTests(MessageSink sink);

// The standard error box for an error that escaped an event handler or a
// creation step: the error's text, the title, an OK button.
void ShowErrorMessage(const std::wstring& text);
