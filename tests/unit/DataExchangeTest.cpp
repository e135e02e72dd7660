#include <gtest/gtest.h>

#include <string>

#include "tests/support/FakeControls.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/DataExchange.h"

namespace {

using testing_support::FakeControls;
using testing_support::ScriptedPrompts;

class DataExchangeTest : public ::testing::Test {
 protected:
  ui::DataExchange Storing() { return ui::DataExchange(controls, prompts, true); }
  ui::DataExchange Loading() { return ui::DataExchange(controls, prompts, false); }
  void ExpectWarning(const std::string& text, int focus) {
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0].text, text);
    EXPECT_EQ(prompts.messages()[0].caption, "Tarvel");
    EXPECT_EQ(prompts.messages()[0].buttons, ui::Buttons::kOk);
    EXPECT_EQ(prompts.messages()[0].icon, ui::Icon::kWarning);
    EXPECT_EQ(controls.focus(), focus);
  }

  FakeControls controls;
  ScriptedPrompts prompts;
};

TEST_F(DataExchangeTest, BoundedIntAcceptsBlanksAroundADecimalInteger) {
  int value = 0;
  for (const char* text : {"5", " 5 ", "\t5"}) {
    controls.SetText(10, text);
    ui::DataExchange dx = Storing();
    dx.BoundedInt(10, value, 0, 7);
    EXPECT_FALSE(dx.Failed()) << text;
    EXPECT_EQ(value, 5) << text;
  }
  value = 3;
  Loading().BoundedInt(10, value, 0, 7);
  EXPECT_EQ(controls.GetText(10), "3");
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(DataExchangeTest, NotAnIntegerFailsAndStopsTheExchange) {
  int value = 4;
  std::string later = "old";
  controls.SetText(10, "x");
  controls.SetText(11, "new");
  ui::DataExchange dx = Storing();
  dx.BoundedInt(10, value, 0, 7);
  dx.Text(11, later);
  EXPECT_TRUE(dx.Failed());
  EXPECT_EQ(value, 4);
  EXPECT_EQ(later, "old") << "calls after the failed check do nothing";
  ExpectWarning("Please enter an integer.", 10);
}

TEST_F(DataExchangeTest, OutOfRangeIsStoredThenRefused) {
  int value = 4, next = 0;
  controls.SetText(10, "8");
  controls.SetText(11, "1");
  ui::DataExchange dx = Storing();
  dx.BoundedInt(10, value, 0, 7);
  dx.BoundedInt(11, next, 0, 7);
  EXPECT_TRUE(dx.Failed());
  EXPECT_EQ(value, 8);
  EXPECT_EQ(next, 0);
  ExpectWarning("Please enter an integer between 0 and 7.", 10);
}

TEST_F(DataExchangeTest, TextLimitIsSetOnLoadAndCheckedOnStore) {
  std::string member = "AB";
  Loading().Text(20, member, 2);
  EXPECT_EQ(controls.GetText(20), "AB");
  EXPECT_EQ(controls.state(20).limit, 2);

  controls.SetText(20, "ABC");  // set by the program, not typed: the limit does not cut it
  ui::DataExchange dx = Storing();
  dx.Text(20, member, 2);
  EXPECT_TRUE(dx.Failed());
  ExpectWarning("Please enter no more than 2 characters.", 20);
}

TEST_F(DataExchangeTest, ListStringSelectsByPrefixIgnoringCase) {
  for (const char* item : {"Vendor ID", "Device ID", "device name"}) controls.ListAppend(30, item);
  std::string member = "DEVICE";
  Loading().ListString(30, member);
  EXPECT_EQ(controls.ListSelection(30), 1);
  member = "nothing";
  Loading().ListString(30, member);
  EXPECT_EQ(controls.ListSelection(30), 1) << "no match keeps the selection";

  controls.ListSelect(30, 2);
  Storing().ListString(30, member);
  EXPECT_EQ(member, "device name");
  controls.ListSelect(30, -1);
  Storing().ListString(30, member);
  EXPECT_EQ(member, "");
}

}  // namespace
