// The install sequence. Stand-in bodies until the sequence is written.
#include "Unit2.h"

void TForm2::Button1Click() {
    EnterBusyState();
    ::PostQuitMessage(0);
}

void TForm2::Button2Click() {
    ::ShowWindow(Handle(), SW_HIDE);
    ::PostQuitMessage(0);
}

void TForm2::RunInstallation(const std::wstring&) {
    EnterBusyState();
    ::PostQuitMessage(0);
}

void TForm2::RunUnattended(const std::wstring&) {
    EnterBusyState();
    ::PostQuitMessage(0);
}
