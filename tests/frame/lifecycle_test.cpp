#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/state.h"
#include "qstr14/frame.h"

namespace {

class Lifecycle : public ::testing::Test {
 protected:
  void SetUp() override { qstr::frame::resetFrameState(); }
  void TearDown() override { qstr::frame::resetFrameState(); }
};

// One step of a client's call sequence and the language it leaves.
struct Step {
  enum Kind { Init, UnInit, Set } kind;
  const char *argument;
  const char *languageAfter;
};

TEST_F(Lifecycle, CallSequencesLeaveTheExpectedLanguage) {
  const std::vector<std::vector<Step>> sequences = {
      {{Step::Init, "DE", "DE"}, {Step::Init, "FR", "DE"}},
      {{Step::Init, "DE", "DE"}, {Step::UnInit, nullptr, "DE"}, {Step::Init, "FR", "FR"}},
      {{Step::UnInit, nullptr, "EN"}},
      {{Step::Set, "CZ", "CZ"}, {Step::Init, "DE", "DE"}, {Step::Set, "SV", "SV"}, {Step::Init, "FR", "SV"}},
      {{Step::Set, "ABCDEFGHIJ", "ABCDEFG"}, {Step::Set, "X", "X"}},
  };
  // Sequence 3: setting the language keeps the initialised flag.
  for (std::size_t i = 0; i < sequences.size(); ++i) {
    qstr::frame::resetFrameState();
    EXPECT_STREQ(QStrGetLanguage(), "EN");
    for (const Step &step : sequences[i]) {
      switch (step.kind) {
        case Step::Init: EXPECT_EQ(QStrInit(step.argument), 1); break;
        case Step::UnInit: QStrUnInit(); break;
        case Step::Set: EXPECT_EQ(QStrSetLanguage(step.argument), 1); break;
      }
      EXPECT_STREQ(QStrGetLanguage(), step.languageAfter) << "sequence " << i;
    }
  }
}

// The language returned is the live buffer: a long code is cut to 7
// characters and the rest of the buffer cleared.
TEST_F(Lifecycle, LongCodeIsCutAndTheRestOfTheBufferCleared) {
  QStrSetLanguage("ABCDEFGHIJKLMNOP");
  const char *language = QStrGetLanguage();
  EXPECT_EQ(std::string(language, qstr::frame::kLanguageBufferSize), std::string("ABCDEFG\0", 8));
  QStrSetLanguage("EN");
  EXPECT_EQ(language, QStrGetLanguage());
  EXPECT_EQ(std::string(language, qstr::frame::kLanguageBufferSize), std::string("EN\0\0\0\0\0\0", 8));
}

// Attach at load recorded the heap and module; every reason returns true
// and leaves them.
TEST(EntryPoint, AttachAtLoadAndEveryReason) {
  EXPECT_NE(qstr::frame::moduleHandle(), nullptr);
  for (uint32_t reason : {qstr::frame::kProcessDetach, qstr::frame::kThreadAttach,
                          qstr::frame::kThreadDetach, qstr::frame::kProcessAttach}) {
    EXPECT_EQ(qstr::frame::entryPoint(qstr::frame::moduleHandle(), reason, nullptr), 1);
  }
  EXPECT_NE(qstr::frame::processHeapHandle(), nullptr);
}

}  // namespace
