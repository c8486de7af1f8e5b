#include "ErrorReport.h"

#include "Exception.h"
#include "Messages.h"
#include "Utf8.h"

#include <exception>

std::wstring CurrentErrorText() noexcept {
    try {
        try {
            throw;
        } catch (const Exception& error) {
            return error.Message();
        } catch (const std::exception& error) {
            return Utf8ToWide(error.what());
        } catch (...) {
            return L"Erro desconhecido";
        }
    } catch (...) {
        // Not even the text could be made.
        return {};
    }
}

void ShowCurrentError() noexcept {
    try {
        ShowErrorMessage(CurrentErrorText());
    } catch (...) {
        // Showing the box failed too; there is nobody left to tell.
    }
}
