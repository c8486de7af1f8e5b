#include "StepFailure.h"

#include <PlatformError.h>
#include <Utf8.h>
#include <ZipExceptions.h>

#include <exception>
#include <new>

namespace {

// winerror.h's ERROR_NOT_ENOUGH_MEMORY.
constexpr unsigned long kNotEnoughMemory = 8;

}  // namespace

FailureCause CurrentFailure(std::wstring step, std::wstring path) noexcept {
    try {
        FailureCause cause{.step = std::move(step), .path = std::move(path)};
        try {
            throw;
        } catch (const EStepFailed& error) {
            return error.Cause();
        } catch (const EZipException& error) {
            cause.text = error.Message();
            if (!error.Entry().empty() && cause.text.find(error.Entry()) == std::wstring::npos) {
                cause.text += L" (entry \"" + error.Entry() + L"\")";
            }
            // The file system's refusals are the machine's, and a path refused
            // without an entry is the folder given; the reader's findings in
            // the embedded payload's entries mean a damaged installer.
            const TZipErrorKind kind = error.Kind();
            cause.systemCode = error.SystemError();
            cause.damagedInstaller = kind == TZipErrorKind::Format || kind == TZipErrorKind::UnsupportedMethod ||
                                     kind == TZipErrorKind::Checksum ||
                                     (kind == TZipErrorKind::UnsafeName && !error.Entry().empty());
        } catch (const EPlatformError& error) {
            cause.text = error.Message();
            cause.systemCode = error.Code();
        } catch (const Exception& error) {
            cause.text = error.Message();
        } catch (const std::bad_alloc&) {
            cause.text = L"Out of memory";
            cause.systemCode = kNotEnoughMemory;
        } catch (const std::exception& error) {
            cause.text = Utf8ToWide(error.what());
        } catch (...) {
            cause.text = L"Unknown error";
        }
        return cause;
    } catch (...) {
        return FailureCause{.systemCode = kNotEnoughMemory, .text = L"Out of memory"};
    }
}

void RethrowAsStepFailed(std::wstring step, std::wstring path) {
    throw EStepFailed(CurrentFailure(std::move(step), std::move(path)));
}
