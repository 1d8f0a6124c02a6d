#include "ui/message_layout.h"

#include <algorithm>

namespace {

constexpr int kIconSize = 32;

// The platform's MulDiv for the small positive numbers of a layout: rounded.
int Scale(int value, int numerator, int denominator) { return (value * numerator + denominator / 2) / denominator; }

bool Has(uint16_t buttons, MessageButton button) { return (buttons & ButtonBit(button)) != 0; }

int FirstOf(uint16_t buttons, std::initializer_list<MessageButton> candidates) {
  for (MessageButton button : candidates)
    if (Has(buttons, button)) return button;
  return -1;
}

}  // namespace

MessageLayout LayOutMessage(int averageWidth, int averageHeight, int textWidth, int textHeight, bool withIcon,
                            uint16_t buttons) {
  const int marginX = Scale(8, averageWidth, 4), marginY = Scale(8, averageHeight, 8);
  const int spacingX = Scale(10, averageWidth, 4), spacingY = Scale(10, averageHeight, 8);
  const int buttonWidth = Scale(50, averageWidth, 4), buttonHeight = Scale(14, averageHeight, 8);
  const int buttonSpacing = Scale(4, averageWidth, 4);

  int blockWidth = textWidth, blockHeight = textHeight;
  if (withIcon) {
    blockWidth += spacingX + kIconSize;
    blockHeight = std::max(blockHeight, kIconSize);
  }
  int count = 0;
  for (int button = 0; button < kMessageButtonCount; ++button) count += Has(buttons, MessageButton(button)) ? 1 : 0;
  const int groupWidth = count ? count * buttonWidth + (count - 1) * buttonSpacing : 0;

  MessageLayout layout;
  layout.ClientWidth = std::max(blockWidth, groupWidth) + 2 * marginX;
  layout.ClientHeight = blockHeight + buttonHeight + spacingY + 2 * marginY;
  if (withIcon) layout.Icon = {marginX, marginY, kIconSize, kIconSize};
  layout.Text = {blockWidth - textWidth + marginX, marginY, textWidth, textHeight};
  layout.DefaultButton = FirstOf(buttons, {mbOK, mbYes});
  if (layout.DefaultButton < 0) layout.DefaultButton = mbRetry;
  layout.CancelButton = FirstOf(buttons, {mbCancel, mbNo, mbOK});
  int x = (layout.ClientWidth - groupWidth) / 2;
  for (int button = 0; button < kMessageButtonCount; ++button) {
    if (!Has(buttons, MessageButton(button))) continue;
    layout.Buttons.push_back({MessageButton(button), {x, blockHeight + marginY + spacingY, buttonWidth, buttonHeight}});
    x += buttonWidth + buttonSpacing;
  }
  return layout;
}
