// A machine under a given locale with a private registry; buffers checked for guard bytes.
#pragma once

#include <cstddef>
#include <vector>

#include "codepage/state.h"
#include "frame/country.h"
#include "frame/state.h"
#include "host/registry_store.h"
#include "support/host_profile.h"

namespace qstr::test {

// Starts from no country, language or code page state; all put back afterwards.
class Machine {
 public:
  explicit Machine(EnvironmentList vars) : Machine(environment(vars)) {}
  explicit Machine(Environment env) {
    env["QSTR14_REGISTRY"] = ":memory:";
    host::installHostProfile(profileFrom(env));
    reset();
  }
  ~Machine() {
    host::resetHostProfile();
    reset();
  }

 private:
  static void reset() {
    host::registry::resetStore();
    frame::resetCountryDetection();
    frame::resetFrameState();
    codepage::resetCodePageState();
  }
};

// A buffer of `size` guard elements after a conversion wrote `output` and its terminator.
template <typename T>
std::vector<T> writtenInto(std::vector<T> output, std::size_t size, T guard) {
  output.push_back(0);
  output.resize(size, guard);
  return output;
}

}  // namespace qstr::test
