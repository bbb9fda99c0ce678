// Shared set-up of the registry tests: a registry file in a fresh temporary
// folder (or the private in-memory registry), installed through the host
// profile, with the store reset before and after each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/profile.h"
#include "host/registry_store.h"
#ifndef _WIN32
#include "support/scratch_folder.h"
#endif

namespace registry_test {

namespace host = qstr::host;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kReadWrite = 0x2001F;

inline void useRegistryPath(const std::string &path) {
  host::HostProfile profile = host::hostProfile();
  profile.registryPath.value = path;
  host::installHostProfile(profile);
  host::registry::resetStore();
}

class InMemoryRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { useRegistryPath(":memory:"); }
  void TearDown() override {
    host::resetHostProfile();
    host::registry::resetStore();
  }
};

#ifndef _WIN32  // the registry file is the portable backend's
// The registry file one level below its own folder, so that creating the
// folder is part of the first write.
class RegistryFileTest : public qstr::test::ScratchFolderTest {
 protected:
  void SetUp() override {
    qstr::test::ScratchFolderTest::SetUp();
    if (HasFatalFailure()) return;
    path_ = dir_ / "config" / "registry.reg";
    useRegistryPath(path_.string());
  }
  void TearDown() override {
    host::resetHostProfile();
    host::registry::resetStore();
    qstr::test::ScratchFolderTest::TearDown();
  }
  std::filesystem::path path_;
};
#endif

}  // namespace registry_test
