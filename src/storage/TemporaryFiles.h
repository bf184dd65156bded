#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The names of the temporary files a save writes beside its target,
// "<target>.~<pid>-<n>.tmp", on every system alike: a folder shared between
// Linux and Windows machines holds both kinds, and each must tell a killed
// save's leftover from a file another save is still writing.
namespace korval::files {

inline constexpr std::string_view kTemporaryMark = ".~";
inline constexpr std::string_view kTemporaryEnd = ".tmp";

// A name no other save of any process uses: the writer's process id and a
// number drawn from the clock, a random device and a counter.
std::string TemporaryNameFor(const std::string& target, std::uint32_t pid);

// The process id of the writer of entry, when entry is a temporary file of a
// save of base; nothing otherwise. caseless compares base without regard to
// case, as Windows compares names.
std::optional<std::uint32_t> TemporaryWriter(std::string_view entry, std::string_view base,
                                             bool caseless);

}  // namespace korval::files
