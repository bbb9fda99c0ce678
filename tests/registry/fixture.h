// Shared set-up of the registry tests: a registry file in a fresh temporary
// folder (or the private in-memory registry), installed through the host
// profile, with the store reset before and after each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
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
namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kReadWrite = 0x2001F;

inline void useRegistryPath(const std::string &path) {
  host::HostProfile profile = host::hostProfile();
  profile.registryPath.value = path;
  host::installHostProfile(profile);
  host::registry::resetStore();
}

inline std::string readFile(const fs::path &path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// regCreateKey and regOpenKey below HKEY_CURRENT_USER.
inline int32_t createUserKey(const std::string &subKey, host::RegKey *key, uint32_t *disposition = nullptr) {
  uint32_t ignored = 0;
  return host::regCreateKey(host::kHkeyCurrentUser, subKey.c_str(), kReadWrite, key,
                            disposition != nullptr ? disposition : &ignored);
}
inline int32_t openUserKey(const std::string &subKey, host::RegKey *key, uint32_t access = kReadWrite) {
  return host::regOpenKey(host::kHkeyCurrentUser, subKey.c_str(), access, key);
}

// Opens or creates a key below HKEY_CURRENT_USER; fails the test otherwise.
inline host::RegKey createKey(const char *subKey) {
  host::RegKey key = 0;
  EXPECT_EQ(createUserKey(subKey, &key), 0) << subKey;
  return key;
}

#ifndef _WIN32  // the registry file is the portable backend's
// A registry file one level below its own temporary folder, so that
// creating the folder is part of the first write.
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
  fs::path path_;
};
#endif

// The private in-memory registry.
class InMemoryRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { useRegistryPath(":memory:"); }
  void TearDown() override {
    host::resetHostProfile();
    host::registry::resetStore();
  }
};

}  // namespace registry_test
