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
      {{Step::Set, "CZ", "CZ"}, {Step::Init, "DE", "DE"}, {Step::Set, "SV", "SV"},
       {Step::Init, "FR", "SV"}},
      {{Step::Set, "ABCDEFGHIJ", "ABCDEFG"}, {Step::Set, "X", "X"}},
  };
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

TEST_F(Lifecycle, LanguagePointerIsTheLiveBuffer) {
  const char *language = QStrGetLanguage();
  QStrSetLanguage("NL");
  EXPECT_EQ(language, QStrGetLanguage());
  EXPECT_STREQ(language, "NL");
}

TEST_F(Lifecycle, LongCodeIsCutAndTheRestOfTheBufferCleared) {
  QStrSetLanguage("ABCDEFGHIJKLMNOP");
  const char *language = QStrGetLanguage();
  EXPECT_EQ(std::string(language, qstr::frame::kLanguageBufferSize),
            std::string("ABCDEFG\0", 8));
  QStrSetLanguage("EN");
  EXPECT_EQ(std::string(language, qstr::frame::kLanguageBufferSize),
            std::string("EN\0\0\0\0\0\0", 8));
}

TEST_F(Lifecycle, SetLanguageKeepsTheInitialisedFlag) {
  QStrInit("DE");
  QStrSetLanguage("IT");
  // Still initialised: a second QStrInit leaves the language alone.
  QStrInit("FR");
  EXPECT_STREQ(QStrGetLanguage(), "IT");
}

TEST(EntryPoint, AttachAtLoadRecordedTheHeapAndModule) {
  EXPECT_NE(qstr::frame::processHeapHandle(), nullptr);
  EXPECT_NE(qstr::frame::moduleHandle(), nullptr);
}

TEST(EntryPoint, EveryReasonReturnsTrue) {
  for (uint32_t reason : {qstr::frame::kProcessDetach, qstr::frame::kThreadAttach,
                          qstr::frame::kThreadDetach, qstr::frame::kProcessAttach}) {
    EXPECT_EQ(qstr::frame::entryPoint(qstr::frame::moduleHandle(), reason, nullptr), 1);
  }
  EXPECT_NE(qstr::frame::processHeapHandle(), nullptr);
}

}  // namespace
