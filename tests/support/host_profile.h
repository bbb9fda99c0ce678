// Host profiles for tests, built from environment variables and installed for a scope.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "host/profile.h"

namespace qstr::test {

using Environment = std::map<std::string, std::string>;
using EnvironmentList = std::initializer_list<std::pair<const char *, const char *>>;

inline Environment environment(EnvironmentList vars) {
  Environment env;
  for (const auto &[name, value] : vars) env[name] = value;
  return env;
}

inline host::HostProfile profileFrom(const Environment &vars) {
  return host::deriveHostProfile([&vars](const char *name) -> std::optional<std::string> {
    auto found = vars.find(name);
    if (found == vars.end()) return std::nullopt;
    return found->second;
  });
}

class ScopedProfile {
 public:
  explicit ScopedProfile(const Environment &vars) { host::installHostProfile(profileFrom(vars)); }
  explicit ScopedProfile(EnvironmentList vars) : ScopedProfile(environment(vars)) {}
  ~ScopedProfile() { host::resetHostProfile(); }
};

}  // namespace qstr::test
