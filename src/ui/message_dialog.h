// The installer's own message dialog: a system icon, a word-wrapped text and
// a row of buttons in the installer's colours, laid out from its font.
#pragma once

#include <cstdint>
#include <string>

#include "engine/sequences/questions.h"
#include "ui/message_layout.h"

// Results of the buttons, as the system's message boxes answer.
enum MessageResult {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
  mrAll = 8,
  mrNoToAll = 9,
  mrYesToAll = 10
};

// Shows the dialog modally, centred, and returns the result of the button
// that closed it (Escape: the cancel button's; closing the window: 2).
int MyMessageDlg(const std::string& message, MessageKind kind, uint16_t buttons, bool stayOnTop, int helpContext);
// The same at a position: a top or left of 0 or more replaces the centred one.
int MyMessageDlgPosHelp(const std::string& message, MessageKind kind, uint16_t buttons, bool stayOnTop,
                        const std::string& helpFile, int top, int left, int helpContext);

// The clear-up's questions, asked as warnings with OK and Cancel.
class DialogQuestions : public Questions {
 public:
  bool Confirm(const std::string& text) override;
};
