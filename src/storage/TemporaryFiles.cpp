#include "storage/TemporaryFiles.h"

#include <atomic>
#include <chrono>
#include <random>

#include "platform/Text.h"

namespace korval::files {

std::string TemporaryNameFor(const std::string& target, std::uint32_t pid) {
  static std::atomic<std::uint64_t> counter{0};
  std::random_device device;
  const auto ticks =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  const std::uint64_t mixed = (static_cast<std::uint64_t>(device()) << 32) ^ ticks ^
                              (counter.fetch_add(1) * 0x9E3779B97F4A7C15ULL);
  return target + std::string(kTemporaryMark) + std::to_string(pid) + "-" + std::to_string(mixed) +
         std::string(kTemporaryEnd);
}

std::optional<std::uint32_t> TemporaryWriter(std::string_view entry, std::string_view base,
                                             bool caseless) {
  if (entry.size() < base.size()) return std::nullopt;
  const std::string_view head = entry.substr(0, base.size());
  if (caseless ? !SameText(head, base) : head != base) return std::nullopt;
  entry.remove_prefix(base.size());
  if (!entry.starts_with(kTemporaryMark) || !entry.ends_with(kTemporaryEnd)) return std::nullopt;
  entry.remove_prefix(kTemporaryMark.size());
  entry.remove_suffix(kTemporaryEnd.size());
  const std::size_t dash = entry.find('-');
  if (dash == 0 || dash == std::string_view::npos) return std::nullopt;
  std::uint64_t pid = 0;
  for (const char c : entry.substr(0, dash)) {
    if (c < '0' || c > '9') return std::nullopt;
    pid = pid * 10 + static_cast<std::uint64_t>(c - '0');
    if (pid > 0xFFFFFFFFu) return std::nullopt;
  }
  if (pid == 0) return std::nullopt;
  return static_cast<std::uint32_t>(pid);
}

}  // namespace korval::files
