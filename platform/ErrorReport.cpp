#include "ErrorReport.h"

#include "Exception.h"
#include "Messages.h"
#include "Utf8.h"

#include <exception>

void ShowCurrentError() noexcept {
    try {
        try {
            throw;
        } catch (const Exception& error) {
            ShowErrorMessage(error.Message());
        } catch (const std::exception& error) {
            ShowErrorMessage(Utf8ToWide(error.what()));
        } catch (...) {
            ShowErrorMessage(L"Erro desconhecido");
        }
    } catch (...) {
        // Showing the box failed too; there is nobody left to tell.
    }
}
