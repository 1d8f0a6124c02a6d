#include "ui/message_layout.h"

#include <gtest/gtest.h>

namespace {

// Tahoma 8 point: an average character of 6 x 13 pixels.
constexpr int kWidth = 6, kHeight = 13;

TEST(MessageLayout, ButtonsAndTextFollowTheAverageCharacter) {
  // A short text with OK and Cancel: the button row sets the width.
  const MessageLayout layout = LayOutMessage(kWidth, kHeight, 60, 13, true, ButtonBit(mbOK) | ButtonBit(mbCancel));
  const int margin = 12, buttonWidth = 75, buttonHeight = 23, spacing = 6;
  ASSERT_EQ(layout.Buttons.size(), 2u);
  EXPECT_EQ(layout.ClientWidth, 2 * buttonWidth + spacing + 2 * margin);
  EXPECT_EQ(layout.ClientHeight, 32 + buttonHeight + 16 + 2 * 13);
  EXPECT_EQ(layout.Icon.Left, margin);
  EXPECT_EQ(layout.Text.Left, 15 + 32 + margin);  // right of the icon
  EXPECT_EQ(layout.Buttons[0].Id, mbOK);
  EXPECT_EQ(layout.Buttons[0].Place.Left, margin);
  EXPECT_EQ(layout.Buttons[1].Place.Left, margin + buttonWidth + spacing);
  EXPECT_EQ(layout.Buttons[1].Place.Top, 32 + 13 + 16);
  EXPECT_EQ(layout.DefaultButton, mbOK);
  EXPECT_EQ(layout.CancelButton, mbCancel);
}

TEST(MessageLayout, DefaultAndCancelButtonsAndTheCustomKind) {
  const MessageLayout yesNo = LayOutMessage(kWidth, kHeight, 300, 39, true, ButtonBit(mbYes) | ButtonBit(mbNo));
  EXPECT_EQ(yesNo.DefaultButton, mbYes);
  EXPECT_EQ(yesNo.CancelButton, mbNo);
  EXPECT_EQ(yesNo.ClientWidth, 300 + 15 + 32 + 24);  // the text is wider than the buttons
  const MessageLayout ok = LayOutMessage(kWidth, kHeight, 100, 13, true, ButtonBit(mbOK));
  EXPECT_EQ(ok.DefaultButton, mbOK);
  EXPECT_EQ(ok.CancelButton, mbOK);
  // Without an icon the text starts at the margin.
  const MessageLayout custom = LayOutMessage(kWidth, kHeight, 100, 13, false, ButtonBit(mbOK));
  EXPECT_EQ(custom.Icon.Width, 0);
  EXPECT_EQ(custom.Text.Left, 12);
  EXPECT_EQ(custom.ClientHeight, 13 + 23 + 16 + 26);
}

}  // namespace
