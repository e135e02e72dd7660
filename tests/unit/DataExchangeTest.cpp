// The data exchange between members and controls, with its checks and prompts.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "tests/support/FakeControls.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/DataExchange.h"

namespace {

using testing_support::FakeControls;
using testing_support::ScriptedPrompts;

class DataExchangeTest : public ::testing::Test {
 protected:
  ui::DataExchange Exchange(bool storing) { return ui::DataExchange(controls, prompts, storing); }
  // The one prompt shown: the class library's warning, with the control focused.
  void ExpectWarning(const std::string& text, int focus) {
    ASSERT_EQ(prompts.messages().size(), 1u);
    const auto& shown = prompts.messages()[0];
    EXPECT_EQ(shown.text + "|" + shown.caption + "|" + std::to_string(controls.focus()),
              text + "|Tarvel|" + std::to_string(focus));
    EXPECT_TRUE(shown.buttons == ui::Buttons::kOk && shown.icon == ui::Icon::kWarning);
    prompts.ClearRecords();
  }

  FakeControls controls;
  ScriptedPrompts prompts;
};

TEST_F(DataExchangeTest, BoundedIntTakesADecimalIntegerAndAFailedCheckStopsTheExchange) {
  const char* const kNoInteger = "Please enter an integer.";
  const char* const kRange = "Please enter an integer between 0 and 7.";
  const struct {
    const char* text;
    int stored;          // out of range is stored, then refused; no integer leaves the member (4)
    const char* prompt;  // "" for none
  } cases[] = {{"5", 5, ""},          {" 5 ", 5, ""},     {"\t0", 0, ""},       {"+7", 7, ""},
               {"9", 9, kRange},      {"8", 8, kRange},   {"-1", -1, kRange},  {"-2147483648", INT_MIN, kRange}, {"2147483647", INT_MAX, kRange},
               {"x", 4, kNoInteger},  {"", 4, kNoInteger}, {"-", 4, kNoInteger}, {"+", 4, kNoInteger},
               {"1 2", 4, kNoInteger}, {"2147483648", 4, kNoInteger}, {"-2147483649", 4, kNoInteger}, {"99999999999999999999", 4, kNoInteger}};
  for (const auto& c : cases) {
    int value = 4, next = 0;
    std::string later = "old";
    controls.SetText(10, c.text);
    controls.SetText(11, "new");
    controls.SetText(12, "1");
    ui::DataExchange dx = Exchange(true);
    dx.BoundedInt(10, value, 0, 7);
    dx.Text(11, later);
    dx.BoundedInt(12, next, 0, 7);
    // The member, the failure, and the calls after it, which do nothing once a check failed.
    EXPECT_EQ(std::to_string(value) + " " + std::to_string(dx.Failed()) + " " + later + std::to_string(next),
              std::to_string(c.stored) + (*c.prompt ? " 1 old0" : " 0 new1"))
        << c.text;
    if (*c.prompt) ExpectWarning(c.prompt, 10);
  }
  EXPECT_TRUE(prompts.messages().empty());
  int value = 3;
  Exchange(false).BoundedInt(10, value, 0, 7);
  EXPECT_EQ(controls.GetText(10), "3");
}

TEST_F(DataExchangeTest, TextLimitIsSetOnLoadAndCheckedOnStoreAndListStringSelectsByPrefix) {
  std::string member = "AB";
  Exchange(false).Text(20, member, 2);
  EXPECT_EQ(controls.GetText(20), "AB");
  EXPECT_EQ(controls.state(20).limit, 2);

  controls.SetText(20, "ABC");  // set by the program, not typed: the limit does not cut it
  ui::DataExchange dx = Exchange(true);
  dx.Text(20, member, 2);
  EXPECT_TRUE(dx.Failed());
  ExpectWarning("Please enter no more than 2 characters.", 20);

  // A list string selects by prefix, ignoring case.
  for (const char* item : {"Vendor ID", "Device ID", "device name"}) controls.ListAppend(30, item);
  member = "DEVICE";
  Exchange(false).ListString(30, member);
  EXPECT_EQ(controls.ListSelection(30), 1);
  member = "nothing";
  Exchange(false).ListString(30, member);
  EXPECT_EQ(controls.ListSelection(30), 1) << "no match keeps the selection";
  EXPECT_FALSE(controls.ListSelectPrefix(30, "nothing"));
  EXPECT_TRUE(controls.ListSelectPrefix(30, "device n"));
  EXPECT_EQ(controls.ListSelection(30), 2);

  controls.ListSelect(30, 2);
  Exchange(true).ListString(30, member);
  EXPECT_EQ(member, "device name");
  controls.ListSelect(30, -1);
  Exchange(true).ListString(30, member);
  EXPECT_EQ(member, "");
}

}  // namespace
