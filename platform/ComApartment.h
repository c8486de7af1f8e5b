// COM for the thread as a single-threaded apartment, for the life of the
// object: the shell-link objects and the folder picker need it.
#pragma once

#include <objbase.h>

class ComApartment {
public:
    ComApartment() noexcept : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (initialised_) ::CoUninitialize();
    }

private:
    bool initialised_;
};
