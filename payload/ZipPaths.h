// How entry names become paths below the target folder.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace zip {

// Path and Name joined with one "\" between them; a rooted Name stands alone.
// Fails with an UnsafeName error "Invalid characters in path" for control
// characters, '"', '<', '>' or '|'.
std::wstring Combine(const std::wstring& path, const std::wstring& name);

// The entry name ("\" separators) with "." and ".." resolved, or nothing when
// it could leave the target folder or name something other than a file there:
// rooted names, drive letters, climbing "..", alternate data streams, device
// names (CON, PRN, AUX, NUL, COM1-9, LPT1-9) and components that Windows would
// trim (trailing dots or spaces). A trailing "\" is kept.
std::optional<std::wstring> ConfineEntryName(const std::wstring& name);

// Whether a link placed at the confined entry name linkName, pointing at
// target, stays inside the target folder: the target is relative and climbs
// only with leading ".." components, no higher than the link's own folder.
// A climb after a named component is refused, since that component may itself
// be a link and ".." would then leave from wherever it points.
bool IsConfinedLinkTarget(const std::wstring& linkName, const std::wstring& target);

// What stands at a confined path while a link target is followed: nothing
// that redirects, a link of the archive (with its target), or a link that was
// there before, whose target is not the archive's to vouch for.
struct LinkAtPath {
    enum class Kind { None, ArchiveLink, OtherLink } kind = Kind::None;
    std::wstring target;
};

// Whether a link at linkName really resolves inside the target folder when
// every link on the way, the archive's own included, is followed: the target
// must pass IsConfinedLinkTarget, no step may pass through a link that was
// there before, and chains longer than the systems follow are refused.
bool ResolvesInside(const std::wstring& linkName, const std::wstring& target,
                    const std::function<LinkAtPath(const std::wstring& confinedPath)>& linkAt);

// The same path as Windows compares names: letters folded.
std::wstring FoldedPath(const std::wstring& path);

}  // namespace zip
