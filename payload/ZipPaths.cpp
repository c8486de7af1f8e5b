#include "ZipPaths.h"

#include "ZipExceptions.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cwctype>
#include <deque>
#include <vector>

namespace zip {
namespace {

bool HasInvalidCharacters(const std::wstring& text) {
    return std::any_of(text.begin(), text.end(), [](wchar_t c) {
        return static_cast<std::uint32_t>(c) < 32 || c == L'"' || c == L'<' || c == L'>' || c == L'|';
    });
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsRooted(const std::wstring& name) {
    if (!name.empty() && IsSeparator(name[0])) return true;
    return name.size() >= 2 && name[1] == L':' && std::iswalpha(static_cast<wint_t>(name[0]));
}

std::vector<std::wstring> Split(const std::wstring& text) {
    std::vector<std::wstring> parts;
    std::wstring part;
    for (wchar_t c : text) {
        if (IsSeparator(c)) {
            parts.push_back(std::move(part));
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    parts.push_back(std::move(part));
    return parts;
}

bool IsDeviceName(const std::wstring& component) {
    // Windows ignores an extension and trailing spaces on device names: "nul.txt" is NUL.
    std::wstring base = component.substr(0, component.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    for (wchar_t& c : base) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    static constexpr std::array<const wchar_t*, 4> plain{L"CON", L"PRN", L"AUX", L"NUL"};
    if (std::find(plain.begin(), plain.end(), base) != plain.end()) return true;
    return base.size() == 4 && (base.starts_with(L"COM") || base.starts_with(L"LPT")) && base[3] >= L'1' &&
           base[3] <= L'9';
}

// A component that may appear in a confined name (after "." and ".." are handled).
bool IsPlainComponent(const std::wstring& component) {
    if (component.find(L':') != std::wstring::npos) return false;
    if (component.back() == L'.' || component.back() == L' ') return false;
    return !IsDeviceName(component);
}

}  // namespace

std::wstring Combine(const std::wstring& path, const std::wstring& name) {
    if (path.empty()) return name;
    if (name.empty()) return path;
    if (HasInvalidCharacters(path) || HasInvalidCharacters(name)) {
        throw EZipException(TZipErrorKind::UnsafeName, L"Invalid characters in path");
    }
    if (IsRooted(name)) return name;
    const wchar_t last = path.back();
    return last == L'\\' || last == L'/' || last == L':' ? path + name : path + L'\\' + name;
}

std::optional<std::wstring> ConfineEntryName(const std::wstring& name) {
    if (IsRooted(name)) return std::nullopt;
    std::vector<std::wstring> kept;
    for (auto& part : Split(name)) {
        if (part.empty() || part == L".") continue;
        if (part == L"..") {
            if (kept.empty()) return std::nullopt;
            kept.pop_back();
            continue;
        }
        if (!IsPlainComponent(part)) return std::nullopt;
        kept.push_back(std::move(part));
    }
    std::wstring confined;
    for (const auto& part : kept) {
        if (!confined.empty()) confined += L'\\';
        confined += part;
    }
    if (!confined.empty() && IsSeparator(name.back())) confined += L'\\';
    return confined;
}

bool IsConfinedLinkTarget(const std::wstring& linkName, const std::wstring& target) {
    if (target.empty() || IsRooted(target)) return false;
    // Depth of the link's folder below the target folder.
    auto depth = static_cast<std::ptrdiff_t>(std::count(linkName.begin(), linkName.end(), L'\\'));
    bool named = false;
    for (const auto& part : Split(target)) {
        if (part.empty() || part == L".") continue;
        if (part == L"..") {
            if (named || --depth < 0) return false;
            continue;
        }
        if (!IsPlainComponent(part)) return false;
        named = true;
    }
    return true;
}

bool ResolvesInside(const std::wstring& linkName, const std::wstring& target,
                    const std::function<LinkAtPath(const std::wstring&)>& linkAt) {
    if (!IsConfinedLinkTarget(linkName, target)) return false;
    // Windows and Linux both give up after a few dozen links in one lookup.
    constexpr int MaxLinksFollowed = 40;
    std::vector<std::wstring> at = Split(linkName);
    at.pop_back();
    std::deque<std::wstring> pending;
    for (auto& part : Split(target)) pending.push_back(std::move(part));
    int followed = 0;
    while (!pending.empty()) {
        std::wstring part = std::move(pending.front());
        pending.pop_front();
        if (part.empty() || part == L".") continue;
        if (part == L"..") {
            if (at.empty()) return false;
            at.pop_back();
            continue;
        }
        if (!IsPlainComponent(part)) return false;
        at.push_back(std::move(part));
        std::wstring path;
        for (const auto& component : at) path += (path.empty() ? L"" : L"\\") + component;
        const LinkAtPath found = linkAt(path);
        if (found.kind == LinkAtPath::Kind::None) continue;
        if (found.kind == LinkAtPath::Kind::OtherLink || ++followed > MaxLinksFollowed || found.target.empty() ||
            IsRooted(found.target)) {
            return false;
        }
        at.pop_back();
        const auto parts = Split(found.target);
        pending.insert(pending.begin(), parts.begin(), parts.end());
    }
    return true;
}

std::wstring FoldedPath(const std::wstring& path) {
    std::wstring folded = path;
    for (wchar_t& c : folded) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return folded;
}

}  // namespace zip
