// Where the message dialog puts its icon, its text and its buttons, derived
// from the average character of its font. Platform-free.
#pragma once

#include <cstdint>
#include <vector>

// The dialog's kinds and the set of its buttons (one bit per button).
enum MessageKind { mkWarning = 0, mkError = 1, mkInformation = 2, mkConfirmation = 3, mkCustom = 4 };
enum MessageButton {
  mbYes = 0,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp,
  kMessageButtonCount
};
constexpr uint16_t ButtonBit(MessageButton button) { return static_cast<uint16_t>(1u << button); }

struct LayoutRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

struct MessageLayout {
  int ClientWidth = 0, ClientHeight = 0;
  LayoutRect Icon;  // empty without an icon
  LayoutRect Text;
  struct Button {
    MessageButton Id;
    LayoutRect Place;
  };
  std::vector<Button> Buttons;  // in their fixed order
  int DefaultButton = -1;       // the button's id, or -1
  int CancelButton = -1;        // the button Escape presses, or -1
};

// averageWidth and averageHeight: the font's average character; textWidth and
// textHeight: the message as drawn with word breaks into half the screen width.
MessageLayout LayOutMessage(int averageWidth, int averageHeight, int textWidth, int textHeight, bool withIcon,
                            uint16_t buttons);
